# The two commands of the README: `make run` and `make test`.

BUILD_DIR ?= build
JOBS ?= $(shell nproc)

BUILD_PACKAGES := cmake g++ make pkg-config qt6-base-dev libgl-dev fonts-dejavu-core
TEST_PACKAGES := $(BUILD_PACKAGES) libgtest-dev libgmock-dev libbenchmark-dev libssl-dev

.PHONY: run test bench build deps-build deps-test

run: deps-build
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)
	@if [ -x $(BUILD_DIR)/app/velmora ]; then $(BUILD_DIR)/app/velmora; fi

test: deps-test
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WERROR=ON \
	  -DVELMORA_BUILD_TESTS=ON -DVELMORA_BUILD_BENCH=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: deps-test
	cmake -S . -B $(BUILD_DIR)-bench -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=ON
	cmake --build $(BUILD_DIR)-bench -j $(JOBS) --target codec_bench
	$(BUILD_DIR)-bench/bench/codec_bench

deps-build:
	@scripts/install-deps $(BUILD_PACKAGES)

deps-test:
	@scripts/install-deps $(TEST_PACKAGES)
