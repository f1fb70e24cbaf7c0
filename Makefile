# The whole set-up on a fresh machine: `make run` or `make test`.
# PRESET picks one of CMakePresets.json's builds (release, dev, asan); CMAKE_ARGS adds to
# its configuration, for example CMAKE_ARGS=-DSELVANE_WERROR=ON as CI does.
# PREFIX is where `make install` puts the program (DESTDIR is honoured as usual).
PRESET ?= release
JOBS ?= $(shell nproc)
CMAKE_ARGS ?=
PREFIX ?= /usr/local
BUILD = $(if $(filter release,$(PRESET)),build,build-$(PRESET))

.PHONY: all deps configure build test test-asan run bench bench-window screenshots install package clean

all: build

deps:
	bash scripts/install-deps

configure: deps
	cmake --preset $(PRESET) $(CMAKE_ARGS)

build: configure
	cmake --build --preset $(PRESET) -j$(JOBS)

test: build
	ctest --preset $(PRESET) -j$(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan:
	$(MAKE) test PRESET=asan

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

# The window's batch against the command line's, under Xvfb.
bench-window: build
	bash bench/window-batch $(BUILD)

# Remakes every picture in docs/ under Xvfb.
screenshots: build
	bash scripts/screenshot all $(BUILD)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package for /usr, into $(BUILD)/package/.
package: build
	rm -f $(BUILD)/package/*.deb
	cpack --config $(BUILD)/CPackConfig.cmake

clean:
	rm -rf build build-dev build-asan demo
