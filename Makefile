# SPDX-License-Identifier: GPL-3.0-or-later
# The commands of the README: `make run`, `make test`, `make bench`, `make package`.

BUILD_DIR ?= build
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 600
FUZZ_SMOKE_SECONDS ?= 30

BUILD_PACKAGES := cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n libgl-dev fonts-dejavu-core \
  libpng-dev libimagequant-dev libzopfli-dev zlib1g-dev libhwy-dev libcompfaceg1-dev librsvg2-bin \
  qt6-wayland qt6-image-formats-plugins ninja-build ccache
TEST_PACKAGES := $(BUILD_PACKAGES) libgtest-dev libgmock-dev libbenchmark-dev libssl-dev \
  appstream desktop-file-utils dpkg-dev file lintian clang libclang-rt-14-dev python3 compface \
  weston
# cpack finds the package's dependencies with dpkg-shlibdeps (dpkg-dev) on
# the programs that file(1) recognises.
PACKAGE_PACKAGES := $(BUILD_PACKAGES) dpkg-dev file

.PHONY: run test sanitize fuzz bench package build deps-build deps-test deps-package

# New build folders use Ninja; an existing one keeps the generator it was
# made with.
export CMAKE_GENERATOR ?= Ninja

# One clang build serves the sanitizer suite and the fuzz targets: the whole
# program and suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# with libFuzzer's coverage. Without clang, g++ builds the suite alone.
SANITIZE_DIR := $(BUILD_DIR)-sanitize
HAVE_CLANG := $(shell command -v clang++ 2>/dev/null)
SANITIZE_OPTIONS := -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_SANITIZE=ON -DBUILD_TESTING=ON \
  -DVELMORA_BUILD_BENCH=OFF $(if $(HAVE_CLANG),-DCMAKE_CXX_COMPILER=clang++ -DVELMORA_FUZZ=ON)

run: deps-build
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVELMORA_BUILD_BENCH=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)
	@if [ -x $(BUILD_DIR)/app/velmora ]; then $(BUILD_DIR)/app/velmora; fi

test: deps-test
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WERROR=ON \
	  -DBUILD_TESTING=ON -DVELMORA_BUILD_BENCH=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory sanitize
	@if [ -n "$(HAVE_CLANG)" ]; then $(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(FUZZ_SMOKE_SECONDS); \
	  else echo "clang++ not found: fuzz smoke run skipped"; fi

sanitize: deps-test
	cmake -S . -B $(SANITIZE_DIR) $(SANITIZE_OPTIONS)
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS each, JOBS at a time (clang; see
# docs/reliability.md).
fuzz: deps-test
	cmake -S . -B $(SANITIZE_DIR) $(SANITIZE_OPTIONS)
	cmake --build $(SANITIZE_DIR) -j $(JOBS) --target velmora_fuzzers
	fuzz/run $(SANITIZE_DIR) $(FUZZ_SECONDS) $(JOBS)

bench: deps-test
	cmake -S . -B $(BUILD_DIR)-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVELMORA_BUILD_BENCH=ON
	cmake --build $(BUILD_DIR)-bench -j $(JOBS) --target codec_bench window_bench framing_bench velmora
	$(BUILD_DIR)-bench/bench/codec_bench
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)-bench/bench/window_bench
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)-bench/bench/framing_bench $(BUILD_DIR)-bench/app/velmora

# fit_bench: Velmora's fit next to an expert's search with pngquant, optipng
# and zopflipng on a corpus of real pictures (docs/fit.md).
FIT_CORPUS ?= $(BUILD_DIR)-bench/fit-corpus
FIT_BENCH_PACKAGES := imagemagick oxygen-icon-theme mate-backgrounds pngquant optipng zopfli
.PHONY: bench-fit
bench-fit: deps-test
	@scripts/install-deps $(FIT_BENCH_PACKAGES)
	scripts/fit-corpus $(FIT_CORPUS)
	cmake -S . -B $(BUILD_DIR)-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVELMORA_BUILD_BENCH=ON
	cmake --build $(BUILD_DIR)-bench -j $(JOBS) --target fit_bench
	$(BUILD_DIR)-bench/bench/fit_bench $(FIT_CORPUS)/pngsuite $(FIT_CORPUS)/icons $(FIT_CORPUS)/photos

# The Debian package, in $(BUILD_DIR)-package/, built with the flags a Debian
# build passes (dpkg-buildflags: fortified functions, stack protector, full
# RELRO with immediate binding).
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
package: deps-package
	cmake -S . -B $(BUILD_DIR)-package -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVELMORA_BUILD_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="$$($(DEB_FLAGS) CPPFLAGS) $$($(DEB_FLAGS) CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(DEB_FLAGS) LDFLAGS)"
	cmake --build $(BUILD_DIR)-package -j $(JOBS)
	cd $(BUILD_DIR)-package && cpack -G DEB

deps-build:
	@scripts/install-deps $(BUILD_PACKAGES)

deps-test:
	@scripts/install-deps $(TEST_PACKAGES)

deps-package:
	@scripts/install-deps $(PACKAGE_PACKAGES)
