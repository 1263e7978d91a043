#include "base/png_glue.h"

#include <png.h>
#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>

struct QorPNGGlue {
    png_structp png;
    png_infop info;
    int writing;
    QorPNGTransfer transfer;
    void* context;
    char error[160];
};

static void OnError(png_structp png, png_const_charp message)
{
    QorPNGGlue* glue = (QorPNGGlue*)png_get_error_ptr(png);
    snprintf(glue->error, sizeof glue->error, "%s", message != NULL ? message : "libpng error");
    png_longjmp(png, 1);
}

static void OnWarning(png_structp png, png_const_charp message)
{
    (void)png;
    (void)message;
}

static void OnRead(png_structp png, png_bytep data, size_t size)
{
    QorPNGGlue* glue = (QorPNGGlue*)png_get_io_ptr(png);
    if (glue->transfer(glue->context, data, size) != 0) {
        png_error(png, "read failed");
    }
}

static void OnWrite(png_structp png, png_bytep data, size_t size)
{
    QorPNGGlue* glue = (QorPNGGlue*)png_get_io_ptr(png);
    if (glue->transfer(glue->context, data, size) != 0) {
        png_error(png, "write failed");
    }
}

static void OnFlush(png_structp png)
{
    (void)png;
}

static QorPNGGlue* Create(QorPNGTransfer transfer, void* context, int writing)
{
    QorPNGGlue* glue = (QorPNGGlue*)calloc(1, sizeof(QorPNGGlue));
    if (glue == NULL) {
        return NULL;
    }
    glue->writing = writing;
    glue->transfer = transfer;
    glue->context = context;
    glue->png = writing ? png_create_write_struct(PNG_LIBPNG_VER_STRING, glue, OnError, OnWarning)
                        : png_create_read_struct(PNG_LIBPNG_VER_STRING, glue, OnError, OnWarning);
    if (glue->png != NULL) {
        glue->info = png_create_info_struct(glue->png);
    }
    if (glue->info == NULL) {
        QorPNGDestroy(glue);
        return NULL;
    }
    if (writing) {
        png_set_write_fn(glue->png, glue, OnWrite, OnFlush);
    } else {
        png_set_read_fn(glue->png, glue, OnRead);
    }
    return glue;
}

QorPNGGlue* QorPNGCreateReader(QorPNGTransfer read, void* context, uint32_t maxWidth, uint32_t maxHeight)
{
    QorPNGGlue* glue = Create(read, context, 0);
    if (glue != NULL) {
        png_set_user_limits(glue->png, maxWidth, maxHeight);
    }
    return glue;
}

QorPNGGlue* QorPNGCreateWriter(QorPNGTransfer write, void* context)
{
    return Create(write, context, 1);
}

void QorPNGDestroy(QorPNGGlue* glue)
{
    if (glue == NULL) {
        return;
    }
    if (glue->png != NULL) {
        if (glue->writing) {
            png_destroy_write_struct(&glue->png, glue->info != NULL ? &glue->info : NULL);
        } else {
            png_destroy_read_struct(&glue->png, glue->info != NULL ? &glue->info : NULL, NULL);
        }
    }
    free(glue);
}

const char* QorPNGGetError(const QorPNGGlue* glue)
{
    return glue->error;
}

int QorPNGReadHeader(QorPNGGlue* glue, QorPNGHeader* header)
{
    if (setjmp(png_jmpbuf(glue->png))) {
        return 1;
    }
    png_read_info(glue->png, glue->info);
    const int colorType = png_get_color_type(glue->png, glue->info);
    header->width = png_get_image_width(glue->png, glue->info);
    header->height = png_get_image_height(glue->png, glue->info);
    header->channels = png_get_channels(glue->png, glue->info);
    header->hasTRNS = png_get_valid(glue->png, glue->info, PNG_INFO_tRNS) != 0;
    header->isColor = (colorType & PNG_COLOR_MASK_COLOR) != 0;
    header->hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || header->hasTRNS;
    return 0;
}

int QorPNGReadImage(QorPNGGlue* glue, int grey, double screenGamma, unsigned char** rows)
{
    png_structp png = glue->png;
    png_infop info = glue->info;
    if (setjmp(png_jmpbuf(png))) {
        return 1;
    }
    png_set_expand(png);
    png_set_scale_16(png);
    if (grey) {
        if ((png_get_color_type(png, info) & PNG_COLOR_MASK_COLOR) != 0) {
            png_set_rgb_to_gray(png, PNG_ERROR_ACTION_NONE, -1, -1);
        }
    } else {
        png_set_gray_to_rgb(png);
        png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    }
    if (screenGamma > 0) {
        double fileGamma = 1.0 / 2.2;
        png_get_gAMA(png, info, &fileGamma);
        png_set_gamma(png, screenGamma, fileGamma);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != (size_t)png_get_image_width(png, info) * (grey ? 1 : 4)) {
        png_error(png, "unsupported pixel model");
    }
    png_read_image(png, rows);
    return 0;
}

int QorPNGWriteImage(QorPNGGlue* glue, uint32_t width, uint32_t height, unsigned char** rows)
{
    png_structp png = glue->png;
    png_infop info = glue->info;
    if (setjmp(png_jmpbuf(png))) {
        return 1;
    }
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, NULL);
    return 0;
}
