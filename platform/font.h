#pragma once

// Installed font faces, found through fontconfig and opened with FreeType. One face serves both
// its metrics and cairo's text drawing, so that what is measured is what is drawn.

#include <cairo.h>

#include <cstdint>
#include <string>

namespace Platform {

// Vertical metrics of a face in font design units, as the font file states them.
struct FontDesignMetrics {
  std::int32_t unitsPerEm = 0;  // 0 for a face without outlines (a bitmap font)
  std::int32_t ascent = 0;      // above the baseline, positive
  std::int32_t descent = 0;     // below the baseline, negative
  std::int32_t leading = 0;     // the gap between lines: line height - ascent + descent
};

class FontFace {
 public:
  // The face of a family given in UTF-8, in the regular weight and upright slant. With
  // exactFamily the result is null unless fontconfig's best match is a face of that very family
  // (compared without regard to case); otherwise fontconfig's substitute is accepted, and the
  // result is null only when no font is installed at all. The family "Lucida Grande", the system
  // font of the program's original platform, stands for an installed sans-serif family.
  // Faces live until the program ends. Main thread only.
  static const FontFace* Find(const std::string& family, bool exactFamily);

  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  // A scaled font of this face at an em size in user units under a transformation; null when the
  // size is 0 or the scaled size lies beyond what the font engine takes (asking cairo for such a
  // font would put the face itself into an error state for good).
  cairo_scaled_font_t* CreateScaledFont(double size, const cairo_matrix_t& ctm,
                                        const cairo_font_options_t* options) const;
  const FontDesignMetrics& GetDesignMetrics() const { return fMetrics; }

 private:
  FontFace(cairo_font_face_t* cairoFace, const FontDesignMetrics& metrics)
      : fCairoFace(cairoFace), fMetrics(metrics) {}
  ~FontFace() = default;

  friend class FontCatalogue;

  cairo_font_face_t* fCairoFace;
  FontDesignMetrics fMetrics;
};

}  // namespace Platform
