# The front door: `make run` and `make test` are all a new machine needs.
BUILD_DIR      ?= build/plain
SANITIZE_DIR   ?= build/asan
DEVICE_DIR     ?= build/device
JOBS           ?= $(shell nproc)
CMAKE_FLAGS    ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

# The sanitizer build prefers clang, which also builds the fuzz targets.
SANITIZE_CXX   := $(shell command -v clang++ >/dev/null 2>&1 && echo clang++ || echo g++)
SANITIZE_CC    := $(shell command -v clang >/dev/null 2>&1 && echo clang || echo gcc)
SANITIZE_FUZZ  := $(if $(filter clang++,$(SANITIZE_CXX)),ON,OFF)

.PHONY: all deps build run test test-plain test-sanitize format clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cmake --install $(BUILD_DIR) --prefix $(DEVICE_DIR) >/dev/null

run: build
	@echo "Simulated device installed in $(DEVICE_DIR):"
	@cd $(DEVICE_DIR) && find . -mindepth 1 | sort

test: test-plain test-sanitize

test-plain: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

$(SANITIZE_DIR)/build.ninja: | deps
	CC=$(SANITIZE_CC) CXX=$(SANITIZE_CXX) cmake -S . -B $(SANITIZE_DIR) -G Ninja \
		-DCMAKE_BUILD_TYPE=Debug -DCORVALE_SANITIZE=address,undefined -DCORVALE_FUZZ=$(SANITIZE_FUZZ)

test-sanitize: deps $(SANITIZE_DIR)/build.ninja
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build out
