# Two entry points for a fresh Debian 12 machine: `make run` and `make test`.
BUILD      ?= build
SAN_BUILD  ?= build-sanitize
BENCH_BUILD?= build-bench
FUZZ_BUILD ?= build-fuzz
# Seconds each fuzz target runs for.
FUZZ_SECONDS ?= 20
SAMPLE     ?= samples/chart.bmp
JOBS       ?= $(shell nproc)
# The tests run headless whatever display the caller has; the program itself uses the caller's.
HEADLESS   := QT_QPA_PLATFORM=offscreen

.PHONY: deps build run test sanitize bench fuzz clean format

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/tallyscope $(SAMPLE)

test: build
	cd $(BUILD) && $(HEADLESS) ctest --output-on-failure -j $(JOBS)

sanitize: deps
	cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALLYSCOPE_SANITIZE=ON
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && $(HEADLESS) ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS) -LE smoke

bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLYSCOPE_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target benchmarks
	bash scripts/run-benchmarks.sh $(BENCH_BUILD)/bench

# `make install` puts the program, its menu entry, icons and AppStream metadata under PREFIX
# (DESTDIR is honoured); `make package` builds the Debian package $(BUILD)/tallyscope_<version>_<arch>.deb.
PREFIX     ?= /usr/local
.PHONY: install package

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

package: build
	cmake --build $(BUILD) --target package

# The fuzz targets, built with clang under AddressSanitizer and UBSan, each run for FUZZ_SECONDS.
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DTALLYSCOPE_FUZZ=ON -DTALLYSCOPE_SANITIZE=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	bash scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

format:
	find app platform model doc view dialogs zoom res tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
