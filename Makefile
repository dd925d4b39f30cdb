# The two commands every user needs: `make run` and `make test`.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
# Our own builds treat warnings as errors; a plain `cmake` build does not.
CMAKE_FLAGS ?= -DDX_WERROR=ON

.PHONY: all deps build run test test-dates sanitize tsan package bench fuzz clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-demo $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 300

# The tests whose rules read a date (server methods, operations, dialogs,
# scenarios) with the machine's calendar moved a year back, a year ahead and
# five years ahead: nothing they check may depend on the day the suite runs.
# Only the calendar moves; the monotonic clock the time limits run on does not.
# The server's connection limits (ServerUnderLoad) stay out: they read no
# date, and libfaketime shifts a timerfd armed at an absolute instant by the
# offset even on the monotonic clock, which Asio does for a timer already due,
# so under faketime a server's time limits may stall for the whole offset.
DATE_OFFSETS ?= -1y +1y +5y
test-dates: build
	@for offset in $(DATE_OFFSETS); do echo "== clock moved $$offset"; \
	  (cd $(BUILD) && FAKETIME_DONT_FAKE_MONOTONIC=1 faketime -f "$$offset" ctest --output-on-failure -j $(JOBS) --timeout 300 \
	    -L '^(server|dates|scenario)$$' -E '^ServerUnderLoad\.') || exit 1; done

# Address and undefined-behaviour sanitizers over the whole suite.
sanitize: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDX_SANITIZE=ON -DDX_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS) --timeout 600

# ThreadSanitizer over the server and the network: the programs and tests
# labelled `server` and `net`, built alone.
TSAN_TARGETS = dxr10900-server dxr10900-call net_tests call_tests appserver_tests appserver_process_tests
tsan: deps
	cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDX_TSAN=ON -DDX_BUILD_QT=OFF -DDX_BUILD_BENCH=OFF \
	  $(CMAKE_FLAGS)
	cmake --build build-tsan -j $(JOBS) --target $(TSAN_TARGETS)
	cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  ctest --output-on-failure -j $(JOBS) --timeout 600 -L '^(server|net)$$'

# The Debian packages distrato-server and distrato-client, in $(BUILD)/packages.
package: build
	cd $(BUILD) && cpack

# libFuzzer over the wire's decoders, the server's connection, data packets and filters, the edit mask and the
# scenario parser (clang, with address and undefined-behaviour
# sanitizers), FUZZ_SECONDS each; new inputs join the corpora in tests/fuzz/corpus.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = wire value packet filter edit_mask script connection
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDX_FUZZ=ON \
	  -DDX_BUILD_QT=OFF -DDX_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build build-fuzz -j $(JOBS) $(addprefix --target fuzz_,$(FUZZ_TARGETS))
	@for t in $(FUZZ_TARGETS); do echo "== fuzz_$$t"; \
	  build-fuzz/bin/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 tests/fuzz/corpus/$$t || exit 1; done

bench: build
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; $$b; done

clean:
	rm -rf $(BUILD) build-asan build-tsan build-fuzz
