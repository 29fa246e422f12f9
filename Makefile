# Top-level commands. `make run` sets everything up and starts the program;
# `make test` sets everything up and runs every test.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
SANITIZE ?= OFF
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps configure build run test bench format format-check clean

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

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-asan build-bench
