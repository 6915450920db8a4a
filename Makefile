# Two entry points for everybody: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
JOBS  ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps format build run test test-asan soak bench fuzz install package package-check clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/app && ./vantela

# Formats every C++ file of ours as .clang-format says (make test fails on one that is not).
format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

package: build
	cd $(BUILD) && cpack

# Installs the package on a freshly bootstrapped Debian 12 and runs it there (root and network).
package-check: package
	bash packaging/check-fresh-debian.sh $$(ls -t $(BUILD)/vantela_*.deb | head -1)

test: build
	@bash scripts/check-format.sh
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVANTELA_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		ctest --output-on-failure -j $(JOBS)

# A hundred rounds of every window command under ASan, LSan and UBSan (ROUNDS=N for another count).
soak: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVANTELA_SANITIZE=ON
	cmake --build build-asan -j $(JOBS) --target soak
	cd build-asan && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp ./tests/soak $(or $(ROUNDS),100)

bench:
	@bash scripts/install-deps.sh --bench
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release
	cmake --build build-bench -j $(JOBS)
	cd build-bench && bash ../bench/run.sh

fuzz:
	@bash scripts/install-deps.sh --fuzz
	sh fuzz/run.sh $(or $(SECONDS),60) $(TARGETS)

clean:
	rm -rf $(BUILD) build-asan build-bench build-fuzz
