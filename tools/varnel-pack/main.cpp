// varnel-pack: builds setup packages from a manifest by appending them to a
// stub, and inspects existing packages. The command set is fixed here; the
// package writer and reader are added as the package format lands.
#include <cstdio>
#include <cstring>

namespace {

void PrintUsage(FILE* out)
{
    std::fputs(
        "usage: varnel-pack COMMAND [ARGS]\n"
        "\n"
        "commands:\n"
        "  build MANIFEST.ini    build a setup from a manifest (stub + package)\n"
        "  info SETUP.exe        show a package's trailer, header blocks and entries\n"
        "  help                  show this text\n",
        out);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "help") == 0 || std::strcmp(command, "--help") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    if (std::strcmp(command, "build") == 0 || std::strcmp(command, "info") == 0) {
        std::fprintf(stderr, "varnel-pack: '%s' is not available in this version yet\n", command);
        return 3;
    }
    std::fprintf(stderr, "varnel-pack: unknown command '%s'\n", command);
    PrintUsage(stderr);
    return 2;
}
