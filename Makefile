# The two commands of the README. Both install what is missing first.
.PHONY: run test

DATABASE ?= $(HOME)/.local/share/Velmora/Velmora.sq3

run:
	@./scripts/install-deps.sh
	@cmake --preset release >/dev/null
	@cmake --build --preset release
	@./scripts/run.sh "$(DATABASE)"

test:
	@./scripts/install-deps.sh
	@cmake --preset release >/dev/null
	@cmake --build --preset release
	@ctest --preset release
	@ctest --preset release-decimal-comma
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan
	@cmake --preset tsan >/dev/null
	@cmake --build --preset tsan --target base_worker_tests acquisition_tests explorer_tests update_tests forward_tests
	@ctest --preset tsan
	@./tests/windows/wine_test.sh
