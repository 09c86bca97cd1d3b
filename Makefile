# The two commands everything starts from: `make run` and `make test`.
BUILD   ?= build/release
TSAN    ?= build/tsan
JOBS    ?= $(shell nproc)

.PHONY: all deps configure build run test test-tsan install clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-tsan

# The serial library's tests once more under ThreadSanitizer.
test-tsan: deps
	@test -f $(TSAN)/build.ninja || cmake -S . -B $(TSAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	    -DK3N_SANITIZE=thread -DK3N_BUILD_BENCH=OFF
	cmake --build $(TSAN) -j $(JOBS) --target tsan_tests
	cd $(TSAN) && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	    ctest --output-on-failure -j $(JOBS) -L tsan

install: build
	cmake --install $(BUILD)

clean:
	rm -rf build
