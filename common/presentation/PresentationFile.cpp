#include "common/presentation/PresentationFile.h"

#include <algorithm>
#include <cfloat>

#include "common/presentation/NumberText.h"
#include "common/presentation/TextCursor.h"

namespace presentation {

namespace {

// Validity states of a read.
constexpr int kNothing = 0, kFormat = 1, kTrack = 2, kCurve = 3, kBroken = 255;

constexpr const char* kLineTypeWords[] = {"SOLID", "DASH", "DOTTED", "DASHDOT", "DASHDOTDOT"};

std::string cut(std::string_view s, std::size_t max) { return std::string(s.substr(0, max)); }

template <class T>
void readInt(TextCursor& in, T& field) {
  if (auto v = in.integer()) field = static_cast<T>(std::clamp<long long>(*v, -1000000000LL, 1000000000LL));
}

void readFloat(TextCursor& in, float& field) {
  if (auto v = in.real(); v && *v >= -FLT_MAX && *v <= FLT_MAX) field = static_cast<float>(*v);
}

CColumn readTrack(TextCursor& in, bool& overlap) {
  CColumn t;
  const auto mode = in.word();
  t.mode = mode == "LINEAR" ? TrackMode::Linear : mode == "LOGARITMIC" ? TrackMode::Logarithmic : TrackMode::Depth;
  if (t.mode == TrackMode::Linear) {
    readInt(in, t.divisions);
    t.midThick = in.word() == "MIDTHICK";
  } else if (t.mode == TrackMode::Logarithmic) {
    readInt(in, t.decades);
    readInt(in, t.startDecade);
    const auto dir = in.word();
    if (dir == "RIGHTLEFT") t.leftToRight = false;
    else if (dir == "LEFTRIGHT") t.leftToRight = true;
  }
  readInt(in, t.width);
  readInt(in, t.left);
  t.overlap = overlap = in.word() == "OVERLAP";
  sanitize(t);
  if (t.mode == TrackMode::Logarithmic) computeLogTicks(t);
  return t;
}

CCurve readCurve(TextCursor& in) {
  CCurve c;
  c.name = cut(in.word(), kCurveNameMax);
  long long index = 0;
  readInt(in, index);
  c.channelIndex = static_cast<std::uint32_t>(std::max(index, 0LL));
  c.description = cut(in.lineAfterBlanks(), kDescriptionMax);
  readFloat(in, c.leftValue);
  readFloat(in, c.rightValue);
  readInt(in, c.labelHeight);
  const auto type = in.word();
  for (std::uint32_t i = 0; i < 5; ++i)
    if (type == kLineTypeWords[i]) c.lineType = static_cast<LineType>(i);
  readInt(in, c.thickness);
  int rgb[3] = {0, 0, 0};
  for (auto& part : rgb) {
    readInt(in, part);
    part = std::clamp(part, 0, 255);
  }
  c.colour = platform::rgb(static_cast<unsigned>(rgb[0]), static_cast<unsigned>(rgb[1]), static_cast<unsigned>(rgb[2]));
  sanitize(c);
  return c;
}

}  // namespace

PresentationRead readPresentation(std::string_view text, std::size_t freeSlots) {
  PresentationRead out;
  TextCursor in(text);
  int state = kNothing;
  int running = 0;           // label stacking total, kept across formats
  std::uint32_t trackCount = 0;
  bool stopped = false;
  while (!in.atEnd()) {
    const auto line = in.line();
    if (line == "&END") {
      stopped = true;
      break;
    }
    if (line == "&FORMAT") {
      if (state == kNothing) state = kFormat;
      if (out.formats.size() >= freeSlots) {
        stopped = true;
        break;
      }
      CFormat f;
      f.name = cut(in.line(), kFormatNameMax);
      f.english = in.word() == "ENGLISH";
      long long scale = 0;
      readInt(in, scale);
      if (scale >= 1 && scale <= 2999) f.scale = static_cast<int>(scale);
      out.formats.push_back(std::move(f));
      trackCount = 0;
    } else if (line == "&TRACK") {
      state = (state == kFormat || state == kTrack || state == kCurve) ? std::max(state, kTrack) : kBroken;
      bool overlap = false;
      CColumn t = readTrack(in, overlap);
      if (!overlap) running = 0;
      if (!out.formats.empty()) {
        t.index = trackCount++;
        out.formats.back().tracks.push_back(std::move(t));
      }
    } else if (line == "&CURVE") {
      state = (state == kTrack || state == kCurve) ? kCurve : kBroken;
      CCurve c = readCurve(in);
      // A curve before any track of its format belongs nowhere and spoils the file.
      if (out.formats.empty() || out.formats.back().tracks.empty()) {
        state = kBroken;
        continue;
      }
      auto& format = out.formats.back();
      auto& track = format.tracks.back();
      c.trackIndex = track.index;
      c.labelPosition = track.curves.empty() ? running
                                             : track.curves.back().labelPosition + track.curves.back().labelHeight;
      running += c.labelHeight;
      track.curves.push_back(std::move(c));
      ++format.curveCount;
    }
  }
  if (stopped) out.outcome = PresentationRead::Outcome::Stopped;
  else out.outcome = state == kCurve ? PresentationRead::Outcome::Valid : PresentationRead::Outcome::Invalid;
  return out;
}

namespace {

std::string oneLine(std::string s) {
  std::replace(s.begin(), s.end(), '\r', ' ');
  std::replace(s.begin(), s.end(), '\n', ' ');
  return s;
}

// A token field must stay one token, or the values after it would shift on reading.
std::string oneToken(const std::string& s) {
  std::string t;
  for (char ch : s) t += (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n') ? '_' : ch;
  return t.empty() ? "NoChannel" : t;
}

}  // namespace

std::string writePresentation(const std::vector<CFormat>& formats) {
  std::string out;
  auto put = [&](const std::string& s) { out += s; out += "\r\n"; };
  for (const auto& f : formats) {
    put("&FORMAT");
    put(oneLine(f.name));
    put(f.english ? "ENGLISH" : "METRIC");
    put(std::to_string(f.scale));
    for (const auto& t : f.tracks) {
      put("&TRACK");
      if (t.mode == TrackMode::Linear) {
        put("LINEAR");
        put(std::to_string(t.divisions));
        put(t.midThick ? "MIDTHICK" : "MIDTHIN");
      } else if (t.mode == TrackMode::Logarithmic) {
        put("LOGARITMIC");
        put(std::to_string(t.decades));
        put(std::to_string(t.startDecade));
        put(t.leftToRight ? "LEFTRIGHT" : "RIGHTLEFT");
      } else {
        put("DEPTH");
      }
      put(std::to_string(t.width));
      put(std::to_string(t.left));
      put(t.overlap ? "OVERLAP" : "NOOVERLAP");
      for (const auto& c : t.curves) {
        put("&CURVE");
        put(oneToken(c.name));
        put(std::to_string(c.channelIndex));
        // An empty or blank description line would be skipped by the reader.
        const std::string d = oneLine(c.description);
        put(d.find_first_not_of(" \t") == std::string::npos ? "NoChannel" : d);
        put(numberText(c.leftValue));
        put(numberText(c.rightValue));
        put(std::to_string(c.labelHeight));
        const auto type = static_cast<std::uint32_t>(c.lineType);
        put(kLineTypeWords[type < 5 ? type : 0]);
        put(std::to_string(c.thickness));
        put(std::to_string(platform::redOf(c.colour)));
        put(std::to_string(platform::greenOf(c.colour)));
        put(std::to_string(platform::blueOf(c.colour)));
      }
    }
  }
  out += "&END";
  return out;
}

}  // namespace presentation
