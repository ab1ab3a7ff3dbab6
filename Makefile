# make run   installs what is missing, builds and starts kr31
# make test  the same, then every test
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

# ccache hits across fresh clones at other paths.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
export CCACHE_IGNOREOPTIONS := -DQT_TESTCASE_BUILDDIR=* -DQT_TESTCASE_SOURCEDIR=*

.PHONY: all deps configure build run test sanitize bench fuzz clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD)

run: build
	./$(BUILD)/bin/kr31

test: build
	cd $(BUILD) && ctest --output-on-failure -j2 --timeout 300

# The library, programs and tests built again in build-asan with AddressSanitizer
# and UndefinedBehaviorSanitizer, and every test run there (any report fails it).
# Leaks are not checked: Qt's font and window libraries keep memory to the end.
sanitize:
	ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 $(MAKE) test BUILD=build-asan CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKR31_SANITIZE=ON"

# Without a display the start-up runs under Xvfb (offscreen when that is missing too).
bench: build
	@if [ -z "$$DISPLAY" ] && command -v xvfb-run >/dev/null; then \
		xvfb-run -a -s '-screen 0 1280x1024x24' ./$(BUILD)/bin/bench_ratios $(ROUNDS); \
	elif [ -z "$$DISPLAY" ]; then \
		QT_QPA_PLATFORM=offscreen ./$(BUILD)/bin/bench_ratios $(ROUNDS); \
	else \
		./$(BUILD)/bin/bench_ratios $(ROUNDS); \
	fi
	@if [ -x ./$(BUILD)/bin/bench_transfer ]; then ./$(BUILD)/bin/bench_transfer; fi
	@if [ -x ./$(BUILD)/bin/bench_text ]; then ./$(BUILD)/bin/bench_text; fi

# make fuzz [FUZZ_SECONDS=60] [FUZZ_TARGETS="fuzz_wav ..."]: every fuzz target for that long.
FUZZ_SECONDS ?= 60
FUZZ_BUILD ?= build-fuzz
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DKR31_FUZZ=ON
	cmake --build $(FUZZ_BUILD) --target fuzz_all
	bash fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

clean:
	rm -rf $(BUILD)
