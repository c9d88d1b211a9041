// Stands in for another program of the suite: writes the arguments it was
// started with to "<its own path>.args", one per line after their count.
#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    const std::string destino = std::string(argv[0]) + ".args";
    const std::string temporal = destino + ".tmp";
    {
        std::ofstream f(temporal, std::ios::binary);
        f << (argc - 1) << "\n";
        for (int i = 1; i < argc; ++i) {
            f << argv[i] << "\n";
        }
    }
    return std::rename(temporal.c_str(), destino.c_str()) == 0 ? 0 : 1;
}
