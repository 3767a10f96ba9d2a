#include "cli/navikor-station/StationCsv.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace navikor_station {

namespace {

const char* const kColumnNames[kColumns] = {
    "latitude",
    "rotpos0", "ax0", "ay0", "az0", "gx0", "gy0", "gz0", "noise_gx0", "noise_gy0", "temp0",
    "rotpos1", "ax1", "ay1", "az1", "gx1", "gy1", "gz1", "noise_gx1", "noise_gy1", "temp1",
};

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool startsWithLatitude(std::string_view s)
{
    const std::string_view word = "latitude";
    if (s.size() < word.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != word[i])
            return false;
    return true;
}

std::string lineError(int line, const std::string& what) { return "line " + std::to_string(line) + ": " + what; }

bool parseNumber(std::string_view field, double* out)
{
    field = trim(field);
    if (field.empty())
        return false;
    if (field.front() == '+')
        field.remove_prefix(1);
    const char* end = field.data() + field.size();
    const auto r = std::from_chars(field.data(), end, *out);
    return r.ec == std::errc() && r.ptr == end && std::isfinite(*out);
}

std::string parseLine(std::string_view line, int number, StationInput* in)
{
    double v[kColumns];
    int n = 0;
    size_t pos = 0;
    while (true) {
        const size_t comma = line.find(',', pos);
        const std::string_view field = line.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos);
        if (n >= kColumns)
            return lineError(number, "expected " + std::to_string(kColumns) + " columns, found more");
        if (!parseNumber(field, &v[n]))
            return lineError(number, std::string("column ") + std::to_string(n + 1) + " (" + kColumnNames[n]
                                         + ") is not a number: \"" + std::string(trim(field)) + "\"");
        ++n;
        if (comma == std::string_view::npos)
            break;
        pos = comma + 1;
    }
    if (n != kColumns)
        return lineError(number, "expected " + std::to_string(kColumns) + " columns, found " + std::to_string(n));
    if (std::fabs(v[0]) >= 90)
        return lineError(number, "latitude must lie strictly between -90 and 90 degrees");
    in->latitude = v[0];
    for (int p = 0; p < 2; ++p) {
        const double* c = v + 1 + 10 * p;
        ESTACIONin& s = in->position[p];
        s = ESTACIONin{};
        s.rotpos = c[0];
        s.acel = CARTXYZ(c[1], c[2], c[3]);
        s.gyro = CARTXYZ(c[4], c[5], c[6]);
        s.gyroNoise = CARTXYZ(c[7], c[8], 0);
        s.gyroTemp = CARTXYZ(c[9], c[9], 0);
        if (s.acel.x == 0 && s.acel.y == 0 && s.acel.z == 0)
            return lineError(number, "the acceleration of position " + std::to_string(p) + " is zero");
    }
    return {};
}

} // namespace

ParseResult parseStations(std::string_view text)
{
    ParseResult result;
    int number = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = pos;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            ++end;
        const std::string_view line = trim(text.substr(pos, end - pos));
        ++number;
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        pos = end + 1;
        if (line.empty() || line.front() == '#' || startsWithLatitude(line))
            continue;
        ParsedLine parsed;
        parsed.lineNumber = number;
        result.error = parseLine(line, number, &parsed.input);
        if (!result.error.empty())
            return result;
        result.stations.push_back(parsed);
    }
    return result;
}

const char* usageText()
{
    return "Usage: navikor-station [--resolution N] [FILE | --line CSV]\n"
           "\n"
           "Recomputes north-seeking stations from two averaged indexer positions each.\n"
           "Reads FILE (or standard input when no FILE and no --line is given); every\n"
           "non-empty line that is not a '#' comment or a header starting with \"latitude\"\n"
           "is one station of 21 comma-separated numbers:\n"
           "\n"
           "   1  latitude    well latitude, degrees (north positive, |latitude| < 90)\n"
           "   2  rotpos0     indexer position of the first position, degrees (usually 0)\n"
           " 3-5  ax0 ay0 az0 calibrated acceleration, IMU frame, g\n"
           " 6-8  gx0 gy0 gz0 calibrated gyro rate, gyro sensor frame, deg/h\n"
           " 9-10 noise_gx0 noise_gy0  gyro noise of the average, deg/h\n"
           "  11  temp0       gyro temperature (reported only)\n"
           "12-21 the same ten columns for the second position (usually at 180 degrees)\n"
           "\n"
           "Options:\n"
           "  --resolution N  heading steps per degree, 1..100 (default 100, as KVR uses)\n"
           "  --line CSV      process this one line instead of a file\n"
           "  --help          show this text\n"
           "\n"
           "Output: one CSV line per station with the input line number, deviation,\n"
           "azimuth, high-side toolface and toolface (degrees), gyro bias x y z (deg/h),\n"
           "heading uncertainty (degrees) and quality (percent).\n";
}

} // namespace navikor_station
