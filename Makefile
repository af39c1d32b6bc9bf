# The two set-up commands: `make run` and `make test`. Both install what is missing first.
PACKAGES := g++ make cmake pkg-config qt6-base-dev qt6-qpa-plugins qt6-svg-dev libgl-dev \
            libgtest-dev libgmock-dev libbenchmark-dev xdg-utils shared-mime-info \
            desktop-file-utils appstream man-db \
            xvfb xauth xdotool dbus at-spi2-core python3-pyatspi \
            clang-format-14
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
MAKEFLAGS += --no-print-directory

BUILD      := build
TEST_BUILD := build-test
BENCH_BUILD := build-bench
FUZZ_BUILD := build-fuzz
FUZZ_SECONDS ?= 120

.PHONY: run test bench build deps clean fuzz install format

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    if [ "$$(id -u)" = 0 ]; then SUDO=""; \
	    elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then SUDO="sudo"; \
	    else echo "Quillbox needs these Debian packages; please install them:$$missing"; exit 1; fi; \
	    echo "Installing:$$missing"; \
	    $$SUDO apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLBOX_TESTS=OFF
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/src/ui/quillbox

test: deps
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUILLBOX_SANITIZE=ON -DQUILLBOX_TESTS=ON
	cmake --build $(TEST_BUILD) -j $(JOBS)
	cd $(TEST_BUILD) && ctest --output-on-failure -j $(JOBS)

# `make install PREFIX=/opt/quillbox`; DESTDIR=/tmp/stage stages the tree for a package.
PREFIX ?= /usr/local
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DQUILLBOX_TESTS=OFF -DQUILLBOX_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done
	@bench/compare.sh $(BENCH_BUILD)

# The time-boxed fuzzing search (clang, libFuzzer): FUZZ_SECONDS per target, one at a time.
fuzz: deps
	@command -v clang++ >/dev/null || { echo "make fuzz needs clang (apt-get install clang)"; exit 1; }
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLBOX_FUZZ=ON -DQUILLBOX_TESTS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Rewrites the sources in the one checked format (make test fails on any difference).
format: deps
	tools/format.sh

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
