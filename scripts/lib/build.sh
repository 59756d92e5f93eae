# Configures and builds the project in build/. Sourced by scripts/test and scripts/run.

build_project() {
    local jobs
    jobs=$(nproc 2>/dev/null || echo 2)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build build --parallel "$jobs" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
}
