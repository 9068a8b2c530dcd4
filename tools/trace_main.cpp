#include <unistd.h>

#include <iostream>
#include <string_view>
#include <vector>

#include "tools/output.h"
#include "tools/trace.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    sp::trace::FdOutput standard_output(STDOUT_FILENO);
    std::ostream out(&standard_output);
    return sp::trace::run(args, out, std::cerr);
}
