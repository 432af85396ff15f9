# The front door: `make run` and `make test` are all a new machine needs.
BUILD_DIR      ?= build/plain
SANITIZE_DIR   ?= build/asan
TSAN_DIR       ?= build/tsan
DEVICE_DIR     ?= build/device
JOBS           ?= $(shell nproc)
CMAKE_FLAGS    ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

# The sanitizer build prefers clang, which also builds the fuzz targets.
SANITIZE_CXX   := $(shell command -v clang++ >/dev/null 2>&1 && echo clang++ || echo g++)
SANITIZE_CC    := $(shell command -v clang >/dev/null 2>&1 && echo clang || echo gcc)
SANITIZE_FUZZ  := $(if $(filter clang++,$(SANITIZE_CXX)),ON,OFF)

.PHONY: all deps build build-deliverables run run-settings run-follow-prompt preview test test-plain test-sanitize \
	test-thread bench fuzz format clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cmake --install $(BUILD_DIR) --prefix $(DEVICE_DIR) >/dev/null

# Only what the two runs below use: the platform, the pane, libmerrow, the hosts and the dev server.
build-deliverables: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS) --target deliverables
	cmake --install $(BUILD_DIR) --prefix $(DEVICE_DIR) >/dev/null

run: build-deliverables
	@$(MAKE) --no-print-directory run-settings
	@$(MAKE) --no-print-directory run-follow-prompt

# The example pane's first page as the Settings app opens it on the simulated device, with the
# credits from the dev server: prints the page once the credits have arrived and draws
# out/settings-root.png (top of the page) and out/settings-credits.png (scrolled to the credits).
run-settings: build-deliverables
	@mkdir -p out
	@rm -f out/devserver-settings.txt
	@$(BUILD_DIR)/hosts/devserver/corvale-devserver --content examples/server --port 0 > out/devserver-settings.txt & \
	server=$$!; \
	for attempt in $$(seq 50); do grep -q 'listening on' out/devserver-settings.txt 2>/dev/null && break; sleep 0.1; done; \
	url=$$(sed -n 's/^listening on //p' out/devserver-settings.txt); \
	$(DEVICE_DIR)/usr/bin/corvale-settings --device-root $(DEVICE_DIR) --credits-server $$url \
		--installed-schemes twitter,mailto wait-credits dump render out/settings-root.png \
		scroll 290 wait-credits render out/settings-credits.png; \
	status=$$?; kill $$server; wait $$server 2>/dev/null; \
	[ $$status -eq 0 ] && echo "wrote out/settings-root.png and out/settings-credits.png"; exit $$status

# The follow prompt on a fresh SpringBoard: the dev server serves the example manifest, the host
# launches, waits for it, unlocks, prints what it shows and draws out/follow-alert.png and
# out/follow-alert.gif (two seconds of the name cloud, entrance included).
FOLLOW_PROMPT_STATE := $(DEVICE_DIR)/var/mobile/Library/Preferences/dev.orlan.ios.tweak.lib.libmerrow.plist
run-follow-prompt: build-deliverables
	@mkdir -p out
	@rm -f $(FOLLOW_PROMPT_STATE) out/devserver.txt
	@$(BUILD_DIR)/hosts/devserver/corvale-devserver --content examples/server --port 0 > out/devserver.txt & \
	server=$$!; \
	for attempt in $$(seq 50); do grep -q 'listening on' out/devserver.txt 2>/dev/null && break; sleep 0.1; done; \
	url=$$(sed -n 's/^listening on //p' out/devserver.txt); \
	MERROW_MANIFEST_SERVER=$$url $(DEVICE_DIR)/usr/bin/merrow-springboard --device-root $(DEVICE_DIR) \
		--os 14.0 --installed-schemes twitter --seed 7 launch wait-manifest unlock dump \
		record out/follow-alert.gif 2 render out/follow-alert.png; \
	status=$$?; kill $$server; wait $$server 2>/dev/null; \
	[ $$status -eq 0 ] && echo "wrote out/follow-alert.png and out/follow-alert.gif"; exit $$status

# The live preview of the example device in the browser: builds and installs what it runs, starts the
# dev server for the credits, then serves the page on 127.0.0.1 and prints its address (Ctrl-C stops
# both). PREVIEW_FLAGS adds options, e.g. PREVIEW_FLAGS="--appearance dark --port 8080".
PREVIEW_FLAGS ?=
preview: build-deliverables
	@mkdir -p out
	@rm -f out/devserver-preview.txt
	@$(BUILD_DIR)/hosts/devserver/corvale-devserver --content examples/server --port 0 > out/devserver-preview.txt & \
	server=$$!; trap 'kill $$server 2>/dev/null' EXIT INT TERM; \
	for attempt in $$(seq 50); do grep -q 'listening on' out/devserver-preview.txt 2>/dev/null && break; sleep 0.1; done; \
	CORVALE_CREDITS_SERVER=$$(sed -n 's/^listening on //p' out/devserver-preview.txt) \
		$(DEVICE_DIR)/usr/bin/corvale-preview --device-root $(DEVICE_DIR) --installed-schemes twitter,mailto \
		--scale 2 $(PREVIEW_FLAGS)

test: test-plain test-sanitize test-thread

test-plain: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

$(SANITIZE_DIR)/build.ninja: | deps
	CC=$(SANITIZE_CC) CXX=$(SANITIZE_CXX) cmake -S . -B $(SANITIZE_DIR) -G Ninja \
		-DCMAKE_BUILD_TYPE=Debug -DCORVALE_SANITIZE=address,undefined -DCORVALE_FUZZ=$(SANITIZE_FUZZ)

test-sanitize: deps $(SANITIZE_DIR)/build.ninja
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/LeakSuppressions.txt \
		ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS (make fuzz FUZZ_SECONDS=60 for shorter runs), in the sanitizer
# build; what a target discovers stays in its corpus folder under $(SANITIZE_DIR)/tests/fuzz, so that
# each run goes on from the last. A finding stops the loop with the crashing input in the current folder.
FUZZ_SECONDS   ?= 180

fuzz: deps $(SANITIZE_DIR)/build.ninja
	@[ "$(SANITIZE_FUZZ)" = ON ] || { echo "make fuzz needs clang"; exit 1; }
	cmake --build $(SANITIZE_DIR) -j $(JOBS) --target fuzzers
	@while read -r program maxlen corpus seeds; do \
		echo "== $$(basename $$program): $(FUZZ_SECONDS) s"; \
		ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
			LSAN_OPTIONS=suppressions=$(CURDIR)/tests/LeakSuppressions.txt \
			$$program -max_total_time=$(FUZZ_SECONDS) -max_len=$$maxlen -print_final_stats=1 \
			$$corpus $$seeds || exit 1; \
	done < $(SANITIZE_DIR)/tests/fuzz/fuzz-targets.txt

# ThreadSanitizer builds only the programs whose code crosses threads (the URL session, dispatch
# queues, the credits managers, the follow manifest's coordinator, and the live preview's server
# threads, main-thread queue, frame store and pane watcher, in-process and in the corvale-preview
# children, which inherit TSAN_OPTIONS): the rest of the suite is single-threaded and already covered
# above. The suppressions cover only uninstrumented system libraries; each entry says why.
TSAN_TESTS     := foundation_tests settings_credits_tests followprompt_tests preview_host_tests
TSAN_RUN_OPTIONS := halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/tests/ThreadSuppressions.txt

$(TSAN_DIR)/build.ninja: | deps
	CC=$(SANITIZE_CC) CXX=$(SANITIZE_CXX) cmake -S . -B $(TSAN_DIR) -G Ninja \
		-DCMAKE_BUILD_TYPE=Debug -DCORVALE_SANITIZE=thread

test-thread: deps $(TSAN_DIR)/build.ninja
	cmake --build $(TSAN_DIR) -j $(JOBS) --target $(TSAN_TESTS)
	TSAN_OPTIONS="$(TSAN_RUN_OPTIONS)" \
		ctest --test-dir $(TSAN_DIR) --output-on-failure -j $(JOBS) -L '^($(subst $(eval) ,|,$(TSAN_TESTS)))$$'

# Every benchmark once, each printing its own table (Google Benchmark's console output).
bench: build
	@for program in $(BUILD_DIR)/bench/bench_*; do echo "== $$program"; $$program || exit 1; done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build out
