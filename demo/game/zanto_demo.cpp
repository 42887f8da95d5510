// Zanto Demo: a small playable scene. The hero walks over the sunrise valley
// with the arrow keys and jumps with Space while clouds drift by; Esc or
// closing the window quits.

#include <windows.h>

namespace {

const wchar_t kClassName[] = L"ZantoDemoWindow";
const wchar_t kTitle[] = L"Zanto Demo";
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kGroundY = 380;
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kFrameMs = 33;

struct GameState {
    int heroX = 120;
    int heroDir = 0;
    int heroHeight = 0;
    int heroLift = 0;
    int frame = 0;
    int collected = 0;
    bool coinTaken[6] = {};
};

GameState g_state;
const int kCoinX[6] = {200, 260, 320, 430, 490, 550};

void fillRect(HDC dc, int x, int y, int w, int h, COLORREF c) {
    RECT r = {x, y, x + w, y + h};
    HBRUSH brush = CreateSolidBrush(c);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void fillEllipse(HDC dc, int x, int y, int w, int h, COLORREF c) {
    HBRUSH brush = CreateSolidBrush(c);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, x, y, x + w, y + h);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}

void fillPolygon(HDC dc, const POINT* pts, int count, COLORREF c) {
    HBRUSH brush = CreateSolidBrush(c);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Polygon(dc, pts, count);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}

COLORREF blend(COLORREF a, COLORREF b, int num, int den) {
    return RGB(GetRValue(a) + (GetRValue(b) - GetRValue(a)) * num / den,
               GetGValue(a) + (GetGValue(b) - GetGValue(a)) * num / den,
               GetBValue(a) + (GetBValue(b) - GetBValue(a)) * num / den);
}

void drawHero(HDC dc, int x, int y) {
    const int s = 4;
    bool walking = g_state.heroDir != 0, phase = (g_state.frame / 4) % 2;
    int liftA = walking && phase ? s : 0, liftB = walking && !phase ? s : 0;
    fillRect(dc, x + 2 * s, y, 4 * s, 4 * s, RGB(250, 214, 170));
    fillRect(dc, x + 2 * s, y, 4 * s, s, RGB(60, 40, 30));
    fillRect(dc, x + (g_state.heroDir < 0 ? 2 : 4) * s, y + 2 * s, s, s, RGB(20, 20, 30));
    fillRect(dc, x + s, y + 4 * s, 6 * s, s, RGB(210, 40, 40));
    fillRect(dc, x + 2 * s, y + 5 * s, 4 * s, 4 * s, RGB(40, 90, 200));
    fillRect(dc, x + 2 * s, y + 9 * s, s * 3 / 2, 3 * s - liftA, RGB(50, 50, 70));
    fillRect(dc, x + 4 * s + s / 2, y + 9 * s, s * 3 / 2, 3 * s - liftB, RGB(50, 50, 70));
}

void drawText(HDC dc, const wchar_t* text, int height, int weight, int y, COLORREF color) {
    HFONT font = CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    RECT shadow = {2, y + 2, kWidth + 2, y + height + 8};
    SetTextColor(dc, RGB(80, 20, 40));
    DrawTextW(dc, text, -1, &shadow, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    RECT r = {0, y, kWidth, y + height + 6};
    SetTextColor(dc, color);
    DrawTextW(dc, text, -1, &r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteObject(font);
}

void paintScene(HDC dc) {
    const COLORREF skyTop = RGB(255, 120, 60), skyBottom = RGB(255, 214, 140);
    for (int y = 0; y < kGroundY; y += 4) fillRect(dc, 0, y, kWidth, 4, blend(skyTop, skyBottom, y, kGroundY));

    fillEllipse(dc, 400, 210, 130, 130, RGB(255, 236, 160));

    for (int i = 0; i < 3; ++i) {
        int x = (i * 260 + g_state.frame / (2 + i)) % (kWidth + 160) - 120;
        int y = 40 + i * 50;
        fillEllipse(dc, x, y, 90, 34, RGB(255, 245, 235));
        fillEllipse(dc, x + 30, y - 16, 70, 40, RGB(255, 245, 235));
    }

    const POINT back[] = {{-60, kGroundY}, {150, 200}, {360, kGroundY}};
    const POINT middle[] = {{220, kGroundY}, {420, 230}, {640, kGroundY}};
    const POINT right[] = {{420, kGroundY}, {600, 250}, {760, kGroundY}};
    fillPolygon(dc, back, 3, RGB(150, 70, 110));
    fillPolygon(dc, middle, 3, RGB(120, 60, 100));
    fillPolygon(dc, right, 3, RGB(140, 72, 108));

    fillRect(dc, 0, kGroundY, kWidth, kHeight - kGroundY, RGB(90, 150, 50));
    fillRect(dc, 0, kGroundY, kWidth, 8, RGB(130, 190, 70));

    drawText(dc, kTitle, 56, FW_BOLD, 150, RGB(255, 230, 90));

    int bob = (g_state.frame / 6) % 2;
    for (int i = 0; i < 6; ++i)
        if (!g_state.coinTaken[i]) fillEllipse(dc, kCoinX[i], kGroundY - 34 - bob * 3, 14, 14, RGB(255, 215, 0));

    drawHero(dc, g_state.heroX, kGroundY - 48 - g_state.heroHeight);

    wchar_t hint[96];
    wsprintfW(hint, L"Arrow keys: walk    Space: jump    Esc: quit    Coins: %d / 6", g_state.collected);
    drawText(dc, hint, 18, FW_NORMAL, 440, RGB(255, 255, 255));
}

void step(HWND hwnd) {
    ++g_state.frame;
    if (g_state.heroDir) {
        g_state.heroX += g_state.heroDir * 4;
        if (g_state.heroX < 0) g_state.heroX = 0;
        if (g_state.heroX > kWidth - 32) g_state.heroX = kWidth - 32;
    }
    if (g_state.heroHeight > 0 || g_state.heroLift > 0) {
        g_state.heroHeight += g_state.heroLift--;
        if (g_state.heroHeight <= 0) g_state.heroHeight = g_state.heroLift = 0;
    }
    // Coins float at chest height: a hero jumping high over one misses it.
    for (int i = 0; i < 6; ++i)
        if (!g_state.coinTaken[i] && g_state.heroHeight < 40 && kCoinX[i] + 7 >= g_state.heroX &&
            kCoinX[i] + 7 <= g_state.heroX + 32) {
            g_state.coinTaken[i] = true;
            ++g_state.collected;
        }
    InvalidateRect(hwnd, nullptr, FALSE);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        SetTimer(hwnd, kTimerId, kFrameMs, nullptr);
        return 0;
    case WM_TIMER:
        step(hwnd);
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_ESCAPE) DestroyWindow(hwnd);
        else if (wp == VK_LEFT) g_state.heroDir = -1;
        else if (wp == VK_RIGHT) g_state.heroDir = 1;
        else if (wp == VK_SPACE && g_state.heroHeight == 0) g_state.heroLift = 12;
        return 0;
    case WM_KEYUP:
        if (wp == VK_LEFT || wp == VK_RIGHT) g_state.heroDir = 0;
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        // Drawn off-screen first so the animation does not flicker.
        HDC mem = CreateCompatibleDC(dc);
        HBITMAP bmp = CreateCompatibleBitmap(dc, kWidth, kHeight);
        HGDIOBJ old = SelectObject(mem, bmp);
        paintScene(mem);
        BitBlt(dc, 0, 0, kWidth, kHeight, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteObject(bmp);
        DeleteDC(mem);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        KillTimer(hwnd, kTimerId);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return 1;

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT r = {0, 0, kWidth, kHeight};
    AdjustWindowRect(&r, style, FALSE);
    HWND hwnd = CreateWindowExW(0, kClassName, kTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                                r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
