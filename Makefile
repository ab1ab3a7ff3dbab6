# make run   installs what is missing, builds and starts kr31
# make test  the same, then every test
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

# ccache hits across fresh clones at other paths.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
export CCACHE_IGNOREOPTIONS := -DQT_TESTCASE_BUILDDIR=* -DQT_TESTCASE_SOURCEDIR=*

.PHONY: all deps configure build run test bench clean

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

clean:
	rm -rf $(BUILD)
