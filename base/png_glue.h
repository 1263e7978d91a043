/* The calls into libpng. Its error path longjmps back to the setjmp of the glue function that
   made the call, so it only ever crosses C frames: the C++ side sees a failure result instead. */
#ifndef BASE_PNG_GLUE_H
#define BASE_PNG_GLUE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct QorPNGGlue QorPNGGlue;

/* Moves `size` bytes between libpng and the caller; answers 0 on success, else non-zero. It must
   not throw. */
typedef int (*QorPNGTransfer)(void* context, unsigned char* data, size_t size);

typedef struct QorPNGHeader {
    uint32_t width;
    uint32_t height;
    int channels;     /* of the stored pixels: 1 grey or palette, 2 grey + alpha, 3 RGB, 4 RGBA */
    int hasTRNS;      /* a tRNS chunk gives transparency */
    int isColor;      /* RGB or palette */
    int hasAlpha;     /* an alpha channel or a tRNS chunk */
} QorPNGHeader;

/* Null when libpng cannot allocate its state. */
QorPNGGlue* QorPNGCreateReader(QorPNGTransfer read, void* context, uint32_t maxWidth, uint32_t maxHeight);
QorPNGGlue* QorPNGCreateWriter(QorPNGTransfer write, void* context);
void QorPNGDestroy(QorPNGGlue* glue);
/* The message of the last failure. */
const char* QorPNGGetError(const QorPNGGlue* glue);

/* Each answers 0 on success, else non-zero. */
int QorPNGReadHeader(QorPNGGlue* glue, QorPNGHeader* header);
/* Decodes into `rows` (height pointers): 8-bit RGBA when `grey` is 0, else 8-bit grey with colour
   converted to grey. A positive screen gamma corrects gamma, the file gamma being its gAMA or
   1/2.2. */
int QorPNGReadImage(QorPNGGlue* glue, int grey, double screenGamma, unsigned char** rows);
/* Encodes 8-bit RGBA rows. */
int QorPNGWriteImage(QorPNGGlue* glue, uint32_t width, uint32_t height, unsigned char** rows);

#ifdef __cplusplus
}
#endif

#endif
