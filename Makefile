# Entry points for people and CI. Each target installs what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
CMAKE_ARGS ?=
FUZZ_SECONDS ?= 600

PACKAGE_BUILD ?= build-package

.PHONY: all deps build run test test-asan bench perf fuzz-smoke fuzz package package-check clean

all: build

deps:
	@sh scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_ARGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	$(BUILD)/veldrane

test: build
	SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --test-dir $(BUILD) --output-on-failure -j2
	sh scripts/fuzz smoke

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELDRANE_SANITIZE=ON -DVELDRANE_BENCH=OFF

test-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD)
	SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j2

bench: build
	$(BUILD)/veldrane_bench

# This machine's figures beside the targets: frame rate, frame times, a frame's cost beside the
# floor program's and start-up on an X display of its own (Xvfb, where present), drawing, memory.
perf: build
	$(BUILD)/veldrane_bench --perf-report

# The loaders under libFuzzer: a few seconds each, or FUZZ_SECONDS each (build-fuzz/).
fuzz-smoke: deps
	sh scripts/fuzz smoke

fuzz: deps
	sh scripts/fuzz long $(FUZZ_SECONDS)

# The Debian package, built for /usr without the tests: $(PACKAGE_BUILD)/veldrane_*.deb
# Debian keeps games' programs in /usr/games; the data stays in /usr/share/veldrane.
package: deps
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	  -DCMAKE_INSTALL_BINDIR=games -DVELDRANE_TESTS=OFF -DVELDRANE_BENCH=OFF
	cmake --build $(PACKAGE_BUILD)
	cd $(PACKAGE_BUILD) && cpack

# The package as Debian's lintian sees it: errors fail, warnings are shown. Skipped without lintian.
package-check: package
	@if command -v lintian >/dev/null 2>&1; then \
	  lintian --fail-on error $(PACKAGE_BUILD)/veldrane_*.deb; \
	else echo "package-check: skipped: lintian is missing (scripts/install-deps installs it)"; fi

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(PACKAGE_BUILD) build-fuzz
