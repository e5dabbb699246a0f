BUILD ?= build
JOBS ?= 2

.PHONY: run test bench package build configure clean

run: DEPS = run
run: build
	./$(BUILD)/ravelquint

test: DEPS = test
test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

bench: DEPS = bench
bench: build
	cmake --build $(BUILD) -j$(JOBS) --target bench_tick bench_latency
	bench/run.sh $(BUILD)

package: DEPS = package
package: build
	cd $(BUILD) && cpack

build: configure
	cmake --build $(BUILD) -j$(JOBS)

configure:
	scripts/install-deps.sh $(DEPS)
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

clean:
	rm -rf $(BUILD)
