/* Writes the C header of the 8 x 13 bitmap font for the web build, taken from the font that
 * freeglut draws with glutBitmapCharacter(GLUT_BITMAP_8_BY_13, ...) on the desktop, so that
 * labels look alike pixel for pixel. Built and run on the build machine by scripts/web.sh.
 * freeglut keeps the font in an exported record: its name, the number of characters, the
 * height, the glyphs (each its width, then its rows from the bottom) and the origin. */
#include <stdio.h>

struct FreeglutBitmapFont {
    const char* name;
    int characterCount;
    int height;
    const unsigned char** glyphs;
    float xorig, yorig;
};
extern const struct FreeglutBitmapFont fgFontFixed8x13;

int main(void) {
    const struct FreeglutBitmapFont* font = &fgFontFixed8x13;
    if (font->characterCount != 256 || font->height > 16) {
        fprintf(stderr, "unexpected font record: %d characters, %d rows\n", font->characterCount,
                font->height);
        return 1;
    }
    printf("/* The 8 x 13 bitmap font (%s), written by web/platform/tools/bitmap_font_table.c. */\n",
           font->name);
    printf("#pragma once\n\n");
    printf("struct BitmapFont {\n    int characterCount;\n    int height;\n    float xorig, yorig;\n");
    printf("    unsigned char glyphs[256][1 + 16];  /* width, then one byte per row */\n};\n\n");
    printf("static const struct BitmapFont bitmapFont8x13 = {%d, %d, %.1ff, %.1ff, {\n",
           font->characterCount, font->height, font->xorig, font->yorig);
    for (int c = 0; c < font->characterCount; ++c) {
        const unsigned char* glyph = font->glyphs[c];
        if (glyph[0] > 8) {
            fprintf(stderr, "character %d is wider than 8 pixels\n", c);
            return 1;
        }
        printf("    {%u", glyph[0]);
        for (int row = 1; row <= font->height; ++row) printf(",%u", glyph[row]);
        printf("},\n");
    }
    printf("}};\n");
    return 0;
}
