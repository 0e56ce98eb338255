# Thin wrapper over CMake + Ninja. Every target runs scripts/setup first, so a fresh
# Debian 12 machine needs nothing else.
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
WERROR     ?= OFF
JOBS       ?= $(shell nproc)
DEMO       ?= $(CURDIR)/$(BUILD)/demo

.PHONY: all setup configure build test run bench test-asan fuzz clean

all: build

setup:
	@./scripts/setup

$(BUILD)/build.ninja: CMakeLists.txt | setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDODU_WERROR=$(WERROR) >/dev/null

configure: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDODU_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=10

# The demo takes the reference lists from ../shared/data unless DODU_REFDATA names others.
run: build
	@DODU_REFDATA="$${DODU_REFDATA:-$(CURDIR)/../shared/data}" $(BUILD)/src/shell/dodu2020 --demo "$(DEMO)"

bench: setup
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DDODU_BENCH=ON >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/*_bench; do echo "== $$b"; $$b; done

test-asan: setup
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDODU_SANITIZE=ON -DDODU_WERROR=$(WERROR) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# The readers of the official files under libFuzzer (clang), ten minutes by
# default; make test runs them for ten seconds.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600
fuzz: setup
	@echo "== fuzzing the official-file readers for $(FUZZ_SECONDS) s"
	@CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target import_fuzz
	@mkdir -p $(FUZZ_BUILD)/fuzz_corpus
	@$(FUZZ_BUILD)/tests/import/import_fuzz -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=1024 \
	  -timeout=5 -print_final_stats=0 $(FUZZ_BUILD)/fuzz_corpus tests/import/fuzz/seeds 2>$(FUZZ_BUILD)/fuzz.log \
	  || { tail -40 $(FUZZ_BUILD)/fuzz.log; exit 1; }

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
