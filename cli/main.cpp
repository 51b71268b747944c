#include <cstdio>

int main() {
    std::puts("drovak-cli: commands follow");
    return 0;
}
