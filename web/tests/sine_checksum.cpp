// Prints the checksum of the core's sine in hexadecimal: run by node on the WebAssembly build.
#include <cstdio>

#include "tests/sine_checksum.h"

int main()
{
    std::printf("%016llx\n", static_cast<unsigned long long>(sp::testing::sine_checksum()));
}
