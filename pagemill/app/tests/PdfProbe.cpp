#include "pagemill/app/tests/PdfProbe.h"

#include <algorithm>

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-image.h>
#include <poppler/cpp/poppler-page-renderer.h>
#include <poppler/cpp/poppler-page.h>

namespace pagemill::testing {

namespace {
Box boxOf(const poppler::rectf& r) { return {r.x(), r.y(), r.width(), r.height()}; }

// "ABCDEF+DejaVuSans-Bold" names a subset of DejaVuSans-Bold.
std::string withoutSubsetTag(const std::string& name) {
  const auto plus = name.find('+');
  return plus == 6 ? name.substr(7) : name;
}
}  // namespace

PdfProbe::PdfProbe(const std::filesystem::path& pdf) : doc_(poppler::document::load_from_file(pdf.string())) {}

PdfProbe::~PdfProbe() = default;

int PdfProbe::pages() const { return doc_ ? doc_->pages() : 0; }

std::vector<PdfText> PdfProbe::texts(int page) const {
  std::vector<PdfText> out;
  if (!doc_ || page < 0 || page >= doc_->pages()) return out;
  std::unique_ptr<poppler::page> p(doc_->create_page(page));
  for (auto& b : p->text_list(poppler::page::text_list_include_font)) {
    PdfText t;
    const auto utf8 = b.text().to_utf8();
    t.text.assign(utf8.begin(), utf8.end());
    t.font = withoutSubsetTag(b.get_font_name());
    t.size = b.get_font_size();
    t.quarterTurns = b.rotation();
    t.box = boxOf(b.bbox());
    for (std::size_t i = 0; i < b.text().size(); ++i) t.glyphs.push_back(boxOf(b.char_bbox(i)));
    out.push_back(std::move(t));
  }
  return out;
}

const PdfText* PdfProbe::find(const std::vector<PdfText>& runs, const std::string& text) const {
  for (const auto& r : runs)
    if (r.text == text) return &r;
  return nullptr;
}

GreyPage PdfProbe::render(int page, double dpi) const {
  GreyPage g;
  if (!doc_ || page < 0 || page >= doc_->pages()) return g;
  std::unique_ptr<poppler::page> p(doc_->create_page(page));
  poppler::page_renderer r;
  r.set_image_format(poppler::image::format_gray8);
  const poppler::image img = r.render_page(p.get(), dpi, dpi);
  if (!img.is_valid()) return g;
  g.width = img.width();
  g.height = img.height();
  g.pixels.resize(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height));
  for (int y = 0; y < g.height; ++y) {
    const char* row = img.const_data() + static_cast<std::ptrdiff_t>(y) * img.bytes_per_row();
    for (int x = 0; x < g.width; ++x)
      g.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(g.width) + static_cast<std::size_t>(x)] =
          static_cast<std::uint8_t>(row[x]);
  }
  return g;
}

std::vector<int> GreyPage::darkColumns(int top, int bottom) const {
  std::vector<int> out;
  top = std::max(top, 0);
  bottom = std::min(bottom, height);
  for (int x = 0; x < width; ++x) {
    int dark = 0;
    for (int y = top; y < bottom; ++y) dark += at(x, y) < 128;
    if (bottom > top && dark * 2 >= bottom - top) out.push_back(x);
  }
  return out;
}

int GreyPage::firstInkColumn() const {
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y)
      if (at(x, y) < 128) return x;
  return -1;
}

}  // namespace pagemill::testing
