BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS ?= 2
FUZZ_SECONDS ?= 60

.PHONY: run test fuzz bench soak package build configure asan-build fuzz-build clean

# Starts the clock.
run: DEPS = run
run: build
	./$(BUILD)/ravelquint

# Every test: the ordinary build, the same under AddressSanitizer and UBSan, and a short
# run of each fuzz target.
test: DEPS = test
test: build asan-build
	$(MAKE) --no-print-directory fuzz-build FUZZ_SECONDS=10
	scripts/run-tests.sh $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

# Each fuzz target for FUZZ_SECONDS (default 60).
fuzz: DEPS = test
fuzz: configure fuzz-build
	cd $(FUZZ_BUILD) && ctest --output-on-failure -j$(JOBS)

bench: DEPS = bench
bench: build
	cmake --build $(BUILD) -j$(JOBS) --target bench_tick bench_latency
	bench/run.sh $(BUILD)

soak: DEPS = bench
soak: build
	bench/soak $(BUILD)/ravelquint

package: DEPS = package
package: build
	cd $(BUILD) && cpack

build: configure
	cmake --build $(BUILD) -j$(JOBS)

configure:
	scripts/install-deps.sh $(DEPS)
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

asan-build:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DRAVELQUINT_SANITIZE=ON > /dev/null
	cmake --build $(ASAN_BUILD) -j$(JOBS)

fuzz-build:
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	    -DRAVELQUINT_FUZZ=ON -DFUZZ_SECONDS=$(FUZZ_SECONDS) > /dev/null
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz_storedtext fuzz_settingsfile

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
