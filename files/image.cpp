// The record image and its text form: every image byte 0x0A is stored as
// 0x0D 0x0A. The translation is done here byte by byte so that files are the
// same on every platform, whatever the C library's text mode does.
#include <string.h>

#include "internal.h"
#include "mirlfile.h"

MIRL_SECTION(".unpacko") void encobj(const mirlObj *r, unsigned char image[MIRL_IMAGE_SIZE])
{
    image[0] = r->count;
    memcpy(image + 1, r->ops, 256);
    memcpy(image + 257, r->params, 256);
    for (int i = 0; i < 256; i++) {
        uint32_t p = r->picks[i];
        unsigned char *b = image + 513 + 4 * i;
        b[0] = (unsigned char)p;
        b[1] = (unsigned char)(p >> 8);
        b[2] = (unsigned char)(p >> 16);
        b[3] = (unsigned char)(p >> 24);
    }
}

MIRL_SECTION(".unpacko") void decobj(const unsigned char image[MIRL_IMAGE_SIZE], mirlObj *r)
{
    r->count = image[0];
    memcpy(r->ops, image + 1, 256);
    memcpy(r->params, image + 257, 256);
    for (int i = 0; i < 256; i++) {
        const unsigned char *b = image + 513 + 4 * i;
        r->picks[i] = (uint32_t)b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
    }
}

MIRL_SECTION(".unpacko") size_t totext(const unsigned char image[MIRL_IMAGE_SIZE], unsigned char text[MIRL_TEXT_MAX])
{
    size_t n = 0;
    for (int i = 0; i < MIRL_IMAGE_SIZE; i++) {
        if (image[i] == 0x0A)
            text[n++] = 0x0D;
        text[n++] = image[i];
    }
    return n;
}

MIRL_SECTION(".unpacko") size_t untext(const unsigned char *text, size_t n, unsigned char image[MIRL_IMAGE_SIZE])
{
    size_t got = 0;
    for (size_t i = 0; i < n && got < MIRL_IMAGE_SIZE; i++) {
        // Only the pair 0x0D 0x0A is a line end; a lone 0x0D is data.
        if (text[i] == 0x0D && i + 1 < n && text[i + 1] == 0x0A)
            continue;
        image[got++] = text[i];
    }
    return got;
}
