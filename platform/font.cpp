#include "platform/font.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <map>
#include <memory>
#include <utility>

namespace Platform {

namespace {

// The largest size in device pixels per em that faces are scaled to; FreeType refuses 65536 and
// beyond.
constexpr double kMaxPixelsPerEm = 16384.0;

// The original platform's system font and the installed family that takes its place.
constexpr const char* kSystemFamily = "Lucida Grande";
constexpr const char* kSystemFamilyStandIn = "DejaVu Sans";

const FcChar8* AsFc(const char* s) { return reinterpret_cast<const FcChar8*>(s); }

bool SameFamily(const char* a, const char* b) { return FcStrCmpIgnoreCase(AsFc(a), AsFc(b)) == 0; }

// The best match fontconfig offers for a family; null when no font is installed.
FcPattern* MatchFamily(const std::string& family) {
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return nullptr;
  FcPatternAddString(pattern, FC_FAMILY, AsFc(family.c_str()));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  return match;
}

bool HasFamily(FcPattern* match, const std::string& family) {
  FcChar8* name = nullptr;
  for (int n = 0; FcPatternGetString(match, FC_FAMILY, n, &name) == FcResultMatch; ++n) {
    if (SameFamily(reinterpret_cast<const char*>(name), family.c_str())) return true;
  }
  return false;
}

}  // namespace

// The program-wide set of opened faces and of the answers given for each requested family.
class FontCatalogue {
 public:
  static FontCatalogue& Instance() {
    // Faces stay open for the whole run (cairo may cache them beyond any owner of ours), so the
    // catalogue is never destroyed.
    static FontCatalogue* const catalogue = new FontCatalogue;
    return *catalogue;
  }

  const FontFace* Find(const std::string& requested, bool exactFamily) {
    const std::string family = SameFamily(requested.c_str(), kSystemFamily) ? kSystemFamilyStandIn : requested;
    auto known = fAnswers.find(family);
    if (known == fAnswers.end()) known = fAnswers.emplace(family, Resolve(family)).first;
    const Answer& answer = known->second;
    return exactFamily && !answer.exact ? nullptr : answer.face;
  }

 private:
  struct Answer {
    const FontFace* face = nullptr;
    bool exact = false;
  };

  FontCatalogue() {
    if (FT_Init_FreeType(&fLibrary) != 0) fLibrary = nullptr;
  }

  Answer Resolve(const std::string& family) {
    if (fLibrary == nullptr) return {};
    FcPattern* match = MatchFamily(family);
    if (match == nullptr) return {};
    FcChar8* file = nullptr;
    int index = 0;
    Answer answer;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
      FcPatternGetInteger(match, FC_INDEX, 0, &index);
      answer.face = Open(reinterpret_cast<const char*>(file), index);
      answer.exact = HasFamily(match, family);
    }
    FcPatternDestroy(match);
    return answer;
  }

  const FontFace* Open(const std::string& file, int index) {
    const auto key = std::make_pair(file, index);
    if (auto open = fFaces.find(key); open != fFaces.end()) return open->second;
    FT_Face ftFace = nullptr;
    if (FT_New_Face(fLibrary, file.c_str(), index, &ftFace) != 0) return nullptr;
    FontDesignMetrics metrics;
    if (FT_IS_SCALABLE(ftFace)) {
      metrics.unitsPerEm = ftFace->units_per_EM;
      metrics.ascent = ftFace->ascender;
      metrics.descent = ftFace->descender;
      metrics.leading = ftFace->height - ftFace->ascender + ftFace->descender;
    }
    cairo_font_face_t* cairoFace = cairo_ft_font_face_create_for_ft_face(ftFace, 0);
    if (cairo_font_face_status(cairoFace) != CAIRO_STATUS_SUCCESS) {
      cairo_font_face_destroy(cairoFace);
      FT_Done_Face(ftFace);
      return nullptr;
    }
    const FontFace* face = new FontFace(cairoFace, metrics);
    fFaces.emplace(key, face);
    return face;
  }

  FT_Library fLibrary = nullptr;
  std::map<std::pair<std::string, int>, const FontFace*> fFaces;
  std::map<std::string, Answer> fAnswers;
};

cairo_scaled_font_t* FontFace::CreateScaledFont(double size, const cairo_matrix_t& ctm,
                                                const cairo_font_options_t* options) const {
  // The Frobenius norm bounds the largest scale factor of the transformation.
  const double ctmScale = std::sqrt(ctm.xx * ctm.xx + ctm.yx * ctm.yx + ctm.xy * ctm.xy + ctm.yy * ctm.yy);
  if (size == 0 || !(std::fabs(size) * ctmScale <= kMaxPixelsPerEm)) return nullptr;
  cairo_matrix_t fontMatrix;
  cairo_matrix_init_scale(&fontMatrix, size, size);
  cairo_scaled_font_t* scaled = cairo_scaled_font_create(fCairoFace, &fontMatrix, &ctm, options);
  if (cairo_scaled_font_status(scaled) != CAIRO_STATUS_SUCCESS) {
    cairo_scaled_font_destroy(scaled);
    return nullptr;
  }
  return scaled;
}

const FontFace* FontFace::Find(const std::string& family, bool exactFamily) {
  return FontCatalogue::Instance().Find(family, exactFamily);
}

}  // namespace Platform
