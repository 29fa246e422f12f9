# Top-level commands. `make run` sets everything up and starts the program;
# `make test` sets everything up and runs every test.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
SANITIZE ?= OFF
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# Seconds each fuzz target fuzzes in `make fuzz` (CI uses 20).
FUZZ_TIME ?= 600

.PHONY: deps configure build run test bench fuzz format format-check clean

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	  -DTOVA_SANITIZE=$(SANITIZE) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	bash scripts/run-tova.sh $(BUILD)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVA_BUILD_BENCH=ON \
	  -DTOVA_BUILD_TESTS=OFF
	cmake --build build-bench -j $(JOBS)
	bash bench/run.sh build-bench

# The libFuzzer targets (clang, ASan+UBSan): each over its corpus, then
# fuzzing for FUZZ_TIME seconds. Only the fuzz targets and what they use are built.
fuzz: deps
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVA_FUZZ=ON -DTOVA_BUILD_TESTS=OFF \
	  -DTOVA_FUZZ_TIME=$(FUZZ_TIME)
	cmake --build build-fuzz --target tova_fuzz_all -j $(JOBS)
	cd build-fuzz && ctest -L fuzz --output-on-failure -j $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-asan build-bench build-clang build-fuzz
