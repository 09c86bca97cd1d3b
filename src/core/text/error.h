// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's one way of reporting a failure outside the serial engine (which
// throws its own exception type): an action returns std::optional<Error>, a
// computation returns Result<T>. The message is ready to show: in the interface
// language for the GUI's texts, in English for the command line's own.
#include <QString>
#include <utility>
#include <variant>

namespace k3n {

struct Error {
    QString message;
    bool operator==(const Error&) const = default;
};

// A value, or the error that kept it from being made.
template <class T> class Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<T>(state_); }
    T&& value() && { return std::get<T>(std::move(state_)); }
    const Error& error() const { return std::get<Error>(state_); }

private:
    std::variant<T, Error> state_;
};

}   // namespace k3n
