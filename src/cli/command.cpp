// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command.h"
#include "model/file_error.h"
#include <QIODevice>
#include <cerrno>
#include <unistd.h>

namespace k3n::cli {

namespace {

// Standard output through write(2), so that a failure keeps its errno: the
// first one is kept and nothing more is written after it.
class StandardOutput : public QIODevice {
public:
    StandardOutput() { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    int failure() const { return failure_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (failure_)
            return -1;
        qint64 done = 0;
        while (done < size) {
            const ssize_t n = ::write(STDOUT_FILENO, data + done, std::size_t(size - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                failure_ = errno;
                return -1;
            }
            done += n;
        }
        return size;
    }

private:
    int failure_ = 0;
};

StandardOutput& StandardOutputDevice()
{
    static StandardOutput device;
    return device;
}

constexpr int kTextWidth = 79;

// Words laid out in lines of kTextWidth, the first line after 'first', the
// others after 'indent' spaces. A word may hold spaces ("[--band 0..3]").
QString Wrapped(const QStringList& words, const QString& first, int indent)
{
    QString out = first;
    qsizetype column = first.size();
    bool lineEmpty = true;
    for (const QString& word : words) {
        if (!lineEmpty && column + 1 + word.size() > kTextWidth) {
            out += '\n' + QString(indent, ' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        lineEmpty = false;
    }
    return out + '\n';
}

QString Wrapped(const QString& text, const QString& first, int indent)
{
    return Wrapped(text.split(' ', Qt::SkipEmptyParts), first, indent);
}

// "-o OUT.fse", "--port PORT …": the short name when there is one, as it is typed.
QString OptionUsage(const Option& option)
{
    const QString name = NamesOf(option).constFirst();
    QString text = Dashed(name);
    if (option.value)
        text += ' ' + QString::fromUtf8(option.value);
    if (option.repeatable)
        text += QStringLiteral(" \u2026");
    return text;
}

}   // namespace

QStringList NamesOf(const Option& option)
{
    return QString::fromLatin1(option.names).split(',');
}

QString Dashed(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString OptionNames(const Option& option)
{
    QStringList names;
    for (const QString& name : NamesOf(option))
        names << Dashed(name);
    QString text = names.join(QStringLiteral(", "));
    if (option.value)
        text += ' ' + QString::fromUtf8(option.value);
    return text;
}

std::vector<std::span<const Option>> OptionRuns(std::span<const Option> options)
{
    std::vector<std::span<const Option>> runs;
    for (std::size_t i = 0; i < options.size();) {
        std::size_t end = i + 1;
        while (options[i].group > 0 && end < options.size() && options[end].group == options[i].group)
            ++end;
        runs.push_back(options.subspan(i, end - i));
        i = end;
    }
    return runs;
}

QTextStream& Out()
{
    static QTextStream stream(&StandardOutputDevice());
    return stream;
}

QTextStream& Err()
{
    static QTextStream stream(stderr);
    return stream;
}

void WriteOut(const QByteArray& bytes)
{
    Out().flush();
    StandardOutputDevice().write(bytes);
}

int FinishOutput(int status)
{
    Out().flush();
    const int failure = StandardOutputDevice().failure();
    if (!failure)
        return status;
    if (failure != EPIPE) {   // a reader that stopped reading wants no message
        Err() << "k3n: cannot write to standard output: " << FileError::FromErrno(failure).message() << "\n";
        Err().flush();
    }
    return status == kExitOk ? kExitFailure : status;
}

QString Arguments::value(const char* key) const
{
    const QStringList given = values(key);
    return given.isEmpty() ? QString() : given.constLast();
}

QStringList UsageParts(const Command& command)
{
    QStringList parts{QStringLiteral("k3n"), QString::fromLatin1(command.name)};
    if (*command.operands)
        parts << (command.operandsOptional ? QStringLiteral("[%1]") : QStringLiteral("%1"))
                     .arg(QString::fromUtf8(command.operands));
    for (const std::span<const Option> run : OptionRuns(command.options)) {
        // A group: its members as one choice, required when one of them is.
        QStringList choice;
        bool required = false;
        for (const Option& option : run) {
            choice << OptionUsage(option);
            required = required || option.required;
        }
        const QString text = choice.join(QStringLiteral(" | "));
        if (!required)
            parts << '[' + text + ']';
        else if (choice.size() > 1)
            parts << '{' + text + '}';
        else
            parts << text;
    }
    return parts;
}

QString UsageLine(const Command& command)
{
    return UsageParts(command).join(' ');
}

QString ExitStatusText()
{
    QString text = QStringLiteral("Exit status:\n");
    for (const ExitStatusMeaning& status : kExitStatusTable)
        text += Wrapped(QString::fromUtf8(status.meaning), QStringLiteral("  %1  ").arg(status.code), 5);
    return text;
}

QString CommandHelp(const Command& command)
{
    QString text = Wrapped(UsageParts(command), QStringLiteral("usage: "), 7) + '\n'
        + QString::fromUtf8(command.summary) + QStringLiteral("\n\nOptions:\n");
    std::vector<std::pair<QString, QString>> rows;
    for (const Option& option : command.options)
        rows.emplace_back(OptionNames(option), QString::fromUtf8(option.help));
    rows.emplace_back(QStringLiteral("-h, --help"), QStringLiteral("print this help"));
    constexpr qsizetype kMostNameWidth = 28;
    qsizetype width = 0;
    for (const auto& row : rows)
        width = std::max(width, std::min(row.first.size(), kMostNameWidth));
    const QString under(width + 4, ' ');
    for (const auto& [names, help] : rows) {
        const QStringList lines = help.split('\n');
        text += QStringLiteral("  ") + names;
        text += names.size() > width ? '\n' + under : QString(width - names.size() + 2, ' ');
        text += lines.join('\n' + under) + '\n';
    }
    if (*command.notes)
        text += '\n' + QString::fromUtf8(command.notes) + '\n';
    return text + '\n' + ExitStatusText();
}

int UsageError(const Command& self, const QString& message)
{
    Err() << "k3n " << self.name << ": " << message << "\n"
          << "usage: " << UsageLine(self) << "\n"
          << "Run 'k3n help " << self.name << "' for its options.\n";
    Err().flush();
    return kExitUsage;
}

int BadInput(const Command& self, const QString& message)
{
    Err() << "k3n " << self.name << ": " << message << "\n";
    Err().flush();
    return kExitUsage;
}

int Failure(const Command& self, const QString& message)
{
    Err() << "k3n " << self.name << ": " << message << "\n";
    Err().flush();
    return kExitFailure;
}

const Command* FindCommand(const QString& name)
{
    for (const Command& command : Commands())
        if (name == QLatin1String(command.name))
            return &command;
    return nullptr;
}

}   // namespace k3n::cli
