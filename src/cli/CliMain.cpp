#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("Nullvane 3.5");
        return 0;
    }
    std::puts("Usage: nullvane-cli --version | --help");
    return argc >= 2 && std::strcmp(argv[1], "--help") == 0 ? 0 : 2;
}
