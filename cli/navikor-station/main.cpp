// navikor-station: recomputes a north-seeking station outside KVR.

#include "cli/navikor-station/StationCsv.h"

#include "navikor/Navikor.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

using navikor_station::parseStations;

namespace {

constexpr double kRadToDeg = 180 / 3.1415926535898;

bool readAll(std::istream& in, std::string* out)
{
    std::ostringstream s;
    s << in.rdbuf();
    *out = s.str();
    return !in.bad();
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "navikor-station: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    int resolution = 100;
    std::string file, line;
    bool haveLine = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(navikor_station::usageText(), stdout);
            return 0;
        }
        if (arg == "--resolution" && i + 1 < argc) {
            char* end = nullptr;
            const long v = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || v < 1 || v > 100)
                return fail("--resolution takes a whole number from 1 to 100");
            resolution = static_cast<int>(v);
        } else if (arg == "--line" && i + 1 < argc) {
            line = argv[++i];
            haveLine = true;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return fail("unknown option " + arg + " (see --help)");
        } else if (file.empty()) {
            file = arg;
        } else {
            return fail("only one input file can be given");
        }
    }

    std::string text;
    if (haveLine) {
        text = line;
    } else if (!file.empty() && file != "-") {
        std::ifstream in(file, std::ios::binary);
        if (!in || !readAll(in, &text))
            return fail("cannot read " + file);
    } else if (!readAll(std::cin, &text)) {
        return fail("cannot read standard input");
    }

    const navikor_station::ParseResult parsed = parseStations(text);
    if (!parsed.error.empty())
        return fail(parsed.error);
    if (parsed.stations.empty())
        return fail("no station line in the input (see --help)");

    auto nav = std::make_unique<CNavikor>();
    nav->CalcularMatrices();  // calibrated inputs: identity alignments
    std::printf("line,devi,azi,hstf,tf,bias_x,bias_y,bias_z,uncertainty,quality\n");
    for (const auto& st : parsed.stations) {
        nav->SetLatitud(st.input.latitude);
        const ESTACIONout r = nav->ProcesarEstacion(st.input.position[0], st.input.position[1], resolution);
        std::printf("%d,%.4f,%.4f,%.4f,%.4f,%.4f,%.4f,%.4f,%.2f,%.1f\n", st.lineNumber, r.attitude.Devi * kRadToDeg,
                    r.attitude.Azi * kRadToDeg, r.attitude.Hstf * kRadToDeg, r.attitude.Tf * kRadToDeg, r.bias.x,
                    r.bias.y, r.bias.z, r.uncertainty, r.quality);
    }
    return 0;
}
