/* Draws shapes with the platform's GDI into a 32-bit DIB section and prints the pixels as
 * text masks: '.' background (white), '#' pen (black), 'o' brush (red), '?' anything else.
 *
 * Input, one case a line on stdin:
 *   NAME W H OP PENWIDTH PENSTYLE BRUSH FILLMODE ARGS...
 * OP is rect, ellipse, roundrect or polygon; PENSTYLE solid, inside or null; BRUSH solid or
 * null; FILLMODE alt or wind (polygons only). ARGS: left top right bottom [ew eh] for the
 * boxed shapes, x y pairs for polygons. Output: the case line, H mask rows, then "end". */
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include <stdlib.h>

static void run_case(char *line)
{
    char name[64], op[16], penstyle[16], brushs[16], fillmode[16];
    int w, h, pw, n = 0, consumed = 0;
    int args[64];
    char copy[1024];
    strncpy(copy, line, sizeof copy - 1);
    copy[sizeof copy - 1] = 0;
    if (sscanf(line, "%63s %d %d %15s %d %15s %15s %15s%n", name, &w, &h, op, &pw, penstyle, brushs, fillmode,
               &consumed) != 8)
        return;
    char *p = line + consumed;
    int v, c;
    while (n < 64 && sscanf(p, "%d%n", &v, &c) == 1) {
        args[n++] = v;
        p += c;
    }

    BITMAPINFO bi;
    memset(&bi, 0, sizeof bi);
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h; /* top-down */
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void *bits = NULL;
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    DWORD *px = (DWORD *)bits;
    for (int i = 0; i < w * h; ++i) px[i] = 0x00FFFFFF;

    int style = PS_SOLID;
    if (!strcmp(penstyle, "inside")) style = PS_INSIDEFRAME;
    if (!strcmp(penstyle, "null")) style = PS_NULL;
    HPEN pen = CreatePen(style, pw, RGB(0, 0, 0));
    HBRUSH brush = !strcmp(brushs, "null") ? (HBRUSH)GetStockObject(NULL_BRUSH) : CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    SetPolyFillMode(dc, !strcmp(fillmode, "wind") ? WINDING : ALTERNATE);

    if (!strcmp(op, "rect") && n >= 4)
        Rectangle(dc, args[0], args[1], args[2], args[3]);
    else if (!strcmp(op, "ellipse") && n >= 4)
        Ellipse(dc, args[0], args[1], args[2], args[3]);
    else if (!strcmp(op, "roundrect") && n >= 6)
        RoundRect(dc, args[0], args[1], args[2], args[3], args[4], args[5]);
    else if (!strcmp(op, "ellrgn") && n >= 4) {
        HRGN rgn = CreateEllipticRgn(args[0], args[1], args[2], args[3]);
        FillRgn(dc, rgn, brush);
        DeleteObject(rgn);
    } else if (!strcmp(op, "polygon") && n >= 6) {
        POINT pts[32];
        int k = n / 2;
        for (int i = 0; i < k; ++i) {
            pts[i].x = args[2 * i];
            pts[i].y = args[2 * i + 1];
        }
        Polygon(dc, pts, k);
    }
    GdiFlush();

    printf("case %s", copy);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            DWORD c = px[y * w + x] & 0x00FFFFFF;
            putchar(c == 0x00FFFFFF ? '.' : c == 0 ? '#' : c == 0x00FF0000 ? 'o' : '?');
        }
        putchar('\n');
    }
    printf("end\n");

    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldBmp);
    DeleteObject(pen);
    if (strcmp(brushs, "null")) DeleteObject(brush);
    DeleteObject(bmp);
    DeleteDC(dc);
}

int main(void)
{
    char line[1024];
    while (fgets(line, sizeof line, stdin)) {
        if (line[0] == '#' || line[0] == '\n') continue;
        run_case(line);
    }
    fflush(stdout);
    return 0;
}
