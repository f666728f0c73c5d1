# Front door for people and CI. Every target installs what is missing first.
BUILD_DIR ?= build/release
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
FUZZ_DIR ?= build/fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := fuzz_wad_reader fuzz_wad_lenient fuzz_swd_reader fuzz_object_names fuzz_mesh fuzz_report fuzz_anim fuzz_merge fuzz_sound
ASAN_DIR ?= build/asan
# -O1 keeps the sanitized suite quick to run without slowing the build much.
ASAN_FLAGS := -O1 -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined

.PHONY: all deps configure build test run bench fuzz test-asan test-windows windows clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The plain suite, then the same suite under the sanitizers: from clean
# folders on 2 cores about 3.5 and 9 minutes. ASAN=0 skips the second.
# Then the Windows suite under wine; WINDOWS=0 skips it.
ASAN ?= 1
WINDOWS ?= 1
test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
ifneq ($(ASAN),0)
	@$(MAKE) --no-print-directory test-asan
endif
ifneq ($(WINDOWS),0)
	@$(MAKE) --no-print-directory test-windows
endif

run: build
	@scripts/run $(BUILD_DIR)

bench: build
	@scripts/bench $(BUILD_DIR)

# Each fuzz target runs FUZZ_SECONDS on a scratch copy of its seed corpus.
fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
	  -DTARNLOW_BUILD_UI=OFF -DTARNLOW_BUILD_BENCH=OFF -DTARNLOW_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(FUZZ_TARGETS)
	@scripts/fuzz $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# The whole suite, window included, under AddressSanitizer and UBSan (gcc).
# Benchmarks are left out: they run no checks.
test-asan: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DTARNLOW_BUILD_BENCH=OFF \
	  "-DCMAKE_CXX_FLAGS=$(ASAN_FLAGS)" "-DCMAKE_EXE_LINKER_FLAGS=$(ASAN_FLAGS)" >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@cd $(ASAN_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Cross-built for Windows with mingw-w64 (Qt built once per machine from
# Debian's source into /var/cache/tarnlow), tested under wine, the Windows
# command line compared byte for byte with the Linux one, and the zip packed
# and checked in a fresh wine prefix. WINDOWS_UI=0 leaves the window out
# (and the Qt build with it).
WINDOWS_DIR ?= build/windows
WINDOWS_UI ?= 1
test-windows: build
	@WINDOWS_UI=$(WINDOWS_UI) scripts/windows-build $(WINDOWS_DIR)
	@scripts/windows-test $(WINDOWS_DIR) $(BUILD_DIR)
ifneq ($(WINDOWS_UI),0)
	@scripts/windows-package $(WINDOWS_DIR) $(WINDOWS_DIR)/dist
endif

# The zip for Windows users, checked in a fresh wine prefix.
windows: build
	@WINDOWS_UI=1 scripts/windows-build $(WINDOWS_DIR)
	@scripts/windows-package $(WINDOWS_DIR) dist

clean:
	rm -rf build
