BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS ?= 2
FUZZ_SECONDS ?= 60
CONFIGURE = cmake --log-level=WARNING

.PHONY: run test check fuzz bench soak package clean deps-run deps-test deps-bench deps-package

# Starts the clock; builds the program alone.
run: deps-run
	$(CONFIGURE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS) --target ravelquint
	./$(BUILD)/ravelquint

# Every test: the ordinary build, the same under AddressSanitizer and UBSan, and a short
# run of each fuzz target.
test: deps-test
	$(MAKE) --no-print-directory build asan-build
	$(MAKE) --no-print-directory fuzz-build FUZZ_SECONDS=10
	scripts/run-tests.sh $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

# The unit tests alone, for the inner loop.
check: deps-test
	$(MAKE) --no-print-directory build
	cd $(BUILD) && ctest -L unit --output-on-failure -j$(JOBS)

# Each fuzz target for FUZZ_SECONDS (default 60).
fuzz: deps-test
	$(MAKE) --no-print-directory fuzz-build
	cd $(FUZZ_BUILD) && ctest --output-on-failure -j$(JOBS)

bench: deps-bench
	$(MAKE) --no-print-directory build
	cmake --build $(BUILD) -j$(JOBS) --target bench_tick bench_latency bench_pip bench_savestall bench_drift bench_fortnight
	bench/run.sh $(BUILD)

soak: deps-bench
	$(MAKE) --no-print-directory build
	bench/soak $(BUILD)/ravelquint

package: deps-package
	$(MAKE) --no-print-directory build
	cd $(BUILD) && cpack

deps-run deps-test deps-bench deps-package:
	scripts/install-deps.sh $(@:deps-%=%)

# Reached through the targets above, which install what is missing first.
.PHONY: build asan-build fuzz-build
build:
	$(CONFIGURE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

asan-build:
	$(CONFIGURE) -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DRAVELQUINT_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)

fuzz-build:
	$(CONFIGURE) -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	    -DRAVELQUINT_FUZZ=ON -DFUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz_storedtext fuzz_settingsfile

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
