// A 512 x 512 scene of 200 shapes (rectangles, rounded rectangles, ellipses) filled and stroked
// with solid colours, linear gradients and radial gradients: written in ORV and run the way the
// host program renders ORV sources, against the same scene written in SVG and rendered by
// librsvg into a cairo image surface. Both sides read their source text in every iteration.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ordo/variables.h"
#include "orv/run.h"
#include "raster/image.h"
#include "raster/solid.h"

namespace {

constexpr int kSize = 512;
constexpr int kShapes = 200;
constexpr uint32_t kBackground = 0xFFFFFFFF;

// The same scene in both languages.
struct Scene {
    std::string orv;
    std::string svg;
};

// A fixed pseudo-random sequence, so that every run draws the same scene.
class Random {
public:
    uint32_t Next()
    {
        fState = fState * 1664525u + 1013904223u;
        return fState >> 8;
    }
    int Between(int low, int high) { return low + int(Next() % uint32_t(high - low + 1)); }
    uint32_t Color() { return Next() & 0xFFFFFF; }

private:
    uint32_t fState = 12345;
};

std::string Format(const char* format, auto... values)
{
    char text[512];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

enum class Kind { kSolid, kLinear, kRadial };

// One paint as an ORV paint value and as an SVG paint, defining its gradient in defs.
struct PaintText {
    std::string orv;
    std::string svg;
};

PaintText MakePaint(Kind kind, Random& random, int x, int y, int w, int h, std::string& defs, int& gradients)
{
    const uint32_t from = random.Color();
    const uint32_t to = random.Color();
    switch (kind) {
    case Kind::kSolid:
        return {Format("#FF%06X", from), Format("#%06X", from)};
    case Kind::kLinear: {
        const std::string id = Format("g%d", gradients++);
        defs += Format("<linearGradient id=\"%s\" gradientUnits=\"userSpaceOnUse\" x1=\"%d\" y1=\"%d\" x2=\"%d\" "
                       "y2=\"%d\"><stop offset=\"0\" stop-color=\"#%06X\"/><stop offset=\"1\" stop-color=\"#%06X\"/>"
                       "</linearGradient>\n",
                       id.c_str(), x, y, x + w, y + h, from, to);
        return {Format("gradient: [linear %d,%d,%d,%d from: #FF%06X to: #FF%06X]", x, y, x + w, y + h, from, to),
                Format("url(#%s)", id.c_str())};
    }
    case Kind::kRadial: {
        const std::string id = Format("g%d", gradients++);
        const int cx = x + w / 2, cy = y + h / 2, r = (w > h ? w : h) / 2;
        defs += Format("<radialGradient id=\"%s\" gradientUnits=\"userSpaceOnUse\" cx=\"%d\" cy=\"%d\" r=\"%d\">"
                       "<stop offset=\"0\" stop-color=\"#%06X\"/><stop offset=\"1\" stop-color=\"#%06X\"/>"
                       "</radialGradient>\n",
                       id.c_str(), cx, cy, r, from, to);
        return {Format("gradient: [radial %d,%d,%d from: #FF%06X to: #FF%06X]", cx, cy, r, from, to),
                Format("url(#%s)", id.c_str())};
    }
    }
    return {};
}

Scene MakeScene()
{
    Random random;
    std::string orv = "format orv-1\n";
    std::string defs, shapes;
    int gradients = 0;
    for (int i = 0; i < kShapes; ++i) {
        const int w = random.Between(16, 96), h = random.Between(16, 96);
        const int x = random.Between(-8, kSize - w + 8), y = random.Between(-8, kSize - h + 8);
        const PaintText fill = MakePaint(Kind(i % 3), random, x, y, w, h, defs, gradients);
        const bool stroked = i % 2 == 0;
        const PaintText pen = stroked ? MakePaint(Kind(i / 2 % 3), random, x, y, w, h, defs, gradients) : PaintText{};
        const int width = random.Between(1, 6);
        const bool translucent = i % 4 == 3;

        // Paint settings last until changed: every fill gives its opacity.
        orv += "fill " + fill.orv + (translucent ? " opacity: 0.75\n" : " opacity: 1\n");
        orv += stroked ? "pen " + pen.orv + Format(" width: %d\n", width) : std::string("pen none\n");
        std::string attributes = "fill=\"" + fill.svg + "\"";
        if (translucent)
            attributes += " fill-opacity=\"0.75\"";
        if (stroked)
            attributes += Format(" stroke=\"%s\" stroke-width=\"%d\" stroke-miterlimit=\"2\"", pen.svg.c_str(), width);

        switch (random.Between(0, 2)) {
        case 0:
            orv += Format("rect %d,%d,%d,%d\n", x, y, w, h);
            shapes += Format("<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" ", x, y, w, h) + attributes + "/>\n";
            break;
        case 1: {
            const int r = random.Between(2, 12);
            orv += Format("rect %d,%d,%d,%d rounded: %d\n", x, y, w, h, r);
            shapes += Format("<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" rx=\"%d\" ", x, y, w, h, r) +
                      attributes + "/>\n";
            break;
        }
        default:
            orv += Format("ellipse %g,%g,%g,%g\n", x + w / 2.0, y + h / 2.0, w / 2.0, h / 2.0);
            shapes += Format("<ellipse cx=\"%g\" cy=\"%g\" rx=\"%g\" ry=\"%g\" ", x + w / 2.0, y + h / 2.0, w / 2.0,
                             h / 2.0) +
                      attributes + "/>\n";
            break;
        }
    }
    const std::string svg = Format("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\">\n", kSize,
                                   kSize) +
                            "<defs>\n" + defs + "</defs>\n" + shapes + "</svg>\n";
    return {orv, svg};
}

const Scene& TheScene()
{
    static const Scene scene = MakeScene();
    return scene;
}

// The host's ORV path: an image of the background colour, the source run over it.
void RenderOrv(QorRaster::Image& image)
{
    QorRaster::SolidPaint background(kBackground);
    image.Render(background);
    ORDO::Variables variables;
    ORV::RunSource(image, 1.0, variables, TheScene().orv);
}

[[noreturn]] void FailRsvg(const GError* error)
{
    std::fprintf(stderr, "librsvg: %s\n", error != nullptr ? error->message : "failed");
    std::abort();
}

// The SVG text read into a librsvg handle.
RsvgHandle* ReadSvg()
{
    const std::string& svg = TheScene().svg;
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &error);
    if (handle == nullptr)
        FailRsvg(error);
    return handle;
}

// A handle's document rendered onto a surface cleared to the background colour.
void RenderSvgDocument(RsvgHandle* handle, cairo_surface_t* surface, cairo_t* cr)
{
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    cairo_paint(cr);
    cairo_restore(cr);
    const RsvgRectangle viewport{0, 0, kSize, kSize};
    GError* error = nullptr;
    if (!rsvg_handle_render_document(handle, cr, &viewport, &error))
        FailRsvg(error);
    cairo_surface_flush(surface);
}

// librsvg as the ORV side runs: the text read and rendered.
void RenderSvg(cairo_surface_t* surface, cairo_t* cr)
{
    RsvgHandle* handle = ReadSvg();
    RenderSvgDocument(handle, surface, cr);
    g_object_unref(handle);
}

struct CairoTarget {
    CairoTarget() : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize)), cr(cairo_create(surface)) {}
    ~CairoTarget()
    {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    CairoTarget(const CairoTarget&) = delete;
    CairoTarget& operator=(const CairoTarget&) = delete;

    uint32_t At(int x, int y) const
    {
        return *reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface) +
                                                  cairo_image_surface_get_stride(surface) * y + 4 * x);
    }

    cairo_surface_t* surface;
    cairo_t* cr;
};

// How far apart the two renderings are: the mean difference per channel, out of 255.
double MeanDifference()
{
    QorRaster::Image image(QorRaster::IntRect(0, 0, kSize, kSize));
    RenderOrv(image);
    CairoTarget target;
    RenderSvg(target.surface, target.cr);
    double sum = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const uint32_t a = *image.At(x, y), b = target.At(x, y);
            for (int shift = 0; shift < 32; shift += 8)
                sum += std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF));
        }
    }
    return sum / (4.0 * kSize * kSize);
}

void SceneOrv(benchmark::State& state)
{
    QorRaster::Image image(QorRaster::IntRect(0, 0, kSize, kSize));
    for (auto _ : state) {
        RenderOrv(image);
        benchmark::DoNotOptimize(*image.At(kSize / 2, kSize / 2));
    }
    state.counters["difference_from_librsvg"] = MeanDifference();
}

void SceneLibrsvg(benchmark::State& state)
{
    CairoTarget target;
    for (auto _ : state) {
        RenderSvg(target.surface, target.cr);
        benchmark::DoNotOptimize(target.At(kSize / 2, kSize / 2));
    }
}

// For comparison only: librsvg without reading the text, which the ORV side always does.
void SceneLibrsvgRenderOnly(benchmark::State& state)
{
    CairoTarget target;
    RsvgHandle* handle = ReadSvg();
    for (auto _ : state) {
        RenderSvgDocument(handle, target.surface, target.cr);
        benchmark::DoNotOptimize(target.At(kSize / 2, kSize / 2));
    }
    g_object_unref(handle);
}

BENCHMARK(SceneOrv)->Name("Scene/ORV")->Unit(benchmark::kMillisecond);
BENCHMARK(SceneLibrsvg)->Name("Scene/librsvg")->Unit(benchmark::kMillisecond);
BENCHMARK(SceneLibrsvgRenderOnly)->Name("Scene/librsvg_render_only")->Unit(benchmark::kMillisecond);

} // namespace
