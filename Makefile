# The whole set-up on a fresh machine: `make run` or `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test test-asan run bench clean

all: build

deps:
	bash scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j$(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake --preset asan
	cmake --build build-asan -j$(JOBS)
	ctest --test-dir build-asan --output-on-failure -j$(JOBS)

# The desktop program; where there is no display, the command-line demo instead.
run: build
	@if [ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	  $(BUILD)/app/selvane-resizer; \
	else \
	  echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): running the command-line demo instead."; \
	  bash scripts/demo $(BUILD); \
	fi

bench: build
	bash bench/peers $(BUILD)

clean:
	rm -rf $(BUILD) build-asan demo
