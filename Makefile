# Wraps CMake and Ninja. `make run` and `make test` install any missing
# Debian packages first.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
BENCH_DIR ?= build-bench
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
# The container targets read whole files: inputs up to 1 MB reach deep
# nesting and pictures that decode to far more than the file holds. Every
# target runs under a 1 GB memory limit, so such an input counts as a failure.
FUZZ_CONTAINERS = compound_file map_file tileset_file
FUZZ_MAX_LEN ?= 1048576
FUZZ_RSS_MB ?= 1024
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps build run test asan bench fuzz install clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=$(PREFIX)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/tessellan

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

asan: deps
	cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSELLAN_SANITIZE=ON -DTESSELLAN_BENCH=OFF
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSELLAN_TESTS=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS)
	@for b in $(BENCH_DIR)/bench/bench_*; do \
		[ -f $$b ] && [ -x $$b ] || continue; \
		echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b || exit 1; \
	done

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DTESSELLAN_FUZZ=ON -DTESSELLAN_TESTS=OFF -DTESSELLAN_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	@for f in $(FUZZ_DIR)/fuzz/fuzz_*; do \
		[ -f $$f ] && [ -x $$f ] || continue; \
		name=$$(basename $$f | sed 's/^fuzz_//'); \
		mkdir -p $(FUZZ_DIR)/corpus/$$name fuzz/crashes/$$name; \
		case " $(FUZZ_CONTAINERS) " in *" $$name "*) len=-max_len=$(FUZZ_MAX_LEN);; *) len=;; esac; \
		echo "== $$name for $(FUZZ_SECONDS) s"; \
		QT_QPA_PLATFORM=offscreen $$f -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=$(FUZZ_RSS_MB) $$len \
			-artifact_prefix=fuzz/crashes/$$name/ $(FUZZ_DIR)/corpus/$$name fuzz/corpus/$$name || exit 1; \
	done

install: build
	cmake --install $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(BENCH_DIR) $(FUZZ_DIR)
