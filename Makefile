# maqo — one command each for a fresh Debian 12 machine:
#   make demo   set up, build, and run the bundled demo script under Wine + Xvfb
#   make test   set up, build, and run every test suite
.PHONY: setup build native win32 win64 wine-tree sanitize fuzz test test-native test-scripts test-wine demo bench clean

BUILD_TYPE ?= Release
JOBS ?= $(shell nproc)

setup:
	@bash tools/setup.sh

build: setup
	@$(MAKE) --no-print-directory native win32

native:
	cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null
	cmake --build build/native -j $(JOBS)

win32:
	@bash tools/build_jpeg_cross.sh i686-w64-mingw32 || echo "jpeg: not built; SAVEIMG of the win32 build writes BMP only"
	cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake >/dev/null
	cmake --build build/win32 -j $(JOBS)
	cmake -S tests/fixtures -B build/win64-fixtures -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake >/dev/null
	cmake --build build/win64-fixtures -j $(JOBS)

# The whole project for 64-bit Windows: what the Wine tests run on a machine
# that cannot run 32-bit programs (tools/wine_arch.sh says which).
win64:
	@bash tools/build_jpeg_cross.sh x86_64-w64-mingw32 || echo "jpeg: not built; SAVEIMG of the win64 build writes BMP only"
	cmake -S . -B build/win64 -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake >/dev/null
	cmake --build build/win64 -j $(JOBS)

wine-tree:
	@if [ "$$(bash tools/wine_arch.sh)" = win64 ]; then $(MAKE) --no-print-directory win64; fi

# Debug builds of the native tree with AddressSanitizer + UndefinedBehaviorSanitizer,
# and with ThreadSanitizer for the thread tests.
sanitize:
	cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMAQO_SANITIZE=address,undefined >/dev/null
	cmake --build build/asan -j $(JOBS)
	cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMAQO_SANITIZE=thread >/dev/null
	cmake --build build/tsan -j $(JOBS) --target maqo_unit_tests

# libFuzzer targets (clang++, ASan+UBSan) in build/fuzz: each runs FUZZ_SECONDS
# and any finding fails (fuzz/run_fuzzers.sh says how to replay one).
FUZZ_SECONDS ?= 60
fuzz: setup
	@bash fuzz/run_fuzzers.sh $(FUZZ_SECONDS)

test: build
	@$(MAKE) --no-print-directory wine-tree
	@$(MAKE) --no-print-directory sanitize
	@bash tools/run_all_tests.sh

test-native: native
	build/native/bin/maqo_unit_tests --gtest_brief=1
	python3 tests/scripts/run_script_tests.py --runner build/native/bin/mqsrun

test-wine: win32 wine-tree
	bash tests/wine/harness.sh

demo: build
	@$(MAKE) --no-print-directory wine-tree
	@bash examples/run_demo.sh

bench: build
	@$(MAKE) --no-print-directory wine-tree
	@status=0; bash bench/run.sh || status=$$?; bash bench/image_search.sh || status=1; exit $$status

clean:
	rm -rf build
