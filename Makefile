# Korvane: two commands do everything on a fresh Debian machine.
#   make run   build and start the console (scripted demo under Xvfb without a display)
#   make test  every test: native unit tests, Windows tests and end-to-end tests under Wine
#   make dist  the release zip, build/dist/korvane-VERSION-win64.zip
.PHONY: all deps build build-native build-windows test test-native test-windows run bench clean fuzz coverage lint dist

all: build

deps:
	@bash scripts/install-deps.sh

build: deps build-native build-windows

build-native:
	cmake --preset native >/dev/null
	cmake --build --preset native

build-windows:
	cmake --preset windows >/dev/null
	cmake --build --preset windows

test: build
	bash scripts/test-all.sh

test-native: deps build-native
	ctest --preset native

test-windows: deps build-windows
	bash scripts/test-windows.sh

run: deps build-windows
	bash scripts/run.sh

bench: deps build-windows
	cmake --preset bench >/dev/null
	cmake --build --preset bench
	bash scripts/bench.sh

# Every fuzz target in turn, FUZZ_SECONDS each (scripts/fuzz.sh).
FUZZ_SECONDS ?= 180
fuzz: deps
	bash scripts/fuzz.sh run $(FUZZ_SECONDS)

coverage: deps
	bash scripts/coverage.sh

lint: deps
	bash scripts/lint.sh

# The release zip from the Windows build's install rules (CPack, ZIP).
dist: deps build-windows
	bash scripts/dist.sh build/windows build/dist

clean:
	rm -rf build

# The framework tour (examples/framework_tour): interactive with a display,
# else a scripted demo whose screenshot lands in build/example/screen.png.
.PHONY: example
example: deps build-windows
	bash scripts/example.sh
