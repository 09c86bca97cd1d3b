# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands everything starts from: `make run` and `make test`.
BUILD   ?= build/release
TSAN    ?= build/tsan
ASAN    ?= build/asan
JOBS    ?= $(shell nproc)
# ctest runs as many computing tests at once as there are processors, and the
# few that wait on a line's real pace beside them (each computing test weighs
# 5 of the -j budget, a real-time one 1: see tests/CMakeLists.txt).
CTEST    = ctest --output-on-failure -j $$(( $(JOBS) * 5 + 4 ))

.PHONY: all deps configure build build-installed run test test-tsan test-asan install package clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)

test: build
	cd $(BUILD) && $(CTEST)
	@$(MAKE) --no-print-directory test-tsan
	@$(MAKE) --no-print-directory test-asan

# The serial and programming libraries' tests once more under ThreadSanitizer.
test-tsan: deps
	@test -f $(TSAN)/build.ninja || cmake -S . -B $(TSAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	    -DK3N_SANITIZE=thread -DK3N_BUILD_BENCH=OFF -DK3N_BUILD_GUI=OFF
	cmake --build $(TSAN) -j $(JOBS) --target test_programs
	cd $(TSAN) && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/tests/tsan.supp" \
	    $(CTEST) -L tsan

# The core libraries' tests (text, model, comm, programming, command line, with
# the virtual radio they link) once more under AddressSanitizer and UBSan.
test-asan: deps
	@test -f $(ASAN)/build.ninja || cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	    -DK3N_SANITIZE=address,undefined -DK3N_BUILD_BENCH=OFF -DK3N_BUILD_GUI=OFF
	cmake --build $(ASAN) -j $(JOBS) --target test_programs
	cd $(ASAN) && ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1" \
	    UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
	    $(CTEST) -L asan

# What is installed, without the tests and benchmarks.
build-installed: configure
	cmake --build $(BUILD) -j $(JOBS) --target k3n_installed

install: build-installed
	cmake --install $(BUILD)

# The Debian package k3n_<version>_<arch>.deb in $(BUILD), stripped, from the
# same tree the tests use; then lintian's verdict on it.
package: build-installed
	cd $(BUILD) && cpack -G DEB
	lintian --fail-on error $(BUILD)/k3n_*.deb

clean:
	rm -rf build
