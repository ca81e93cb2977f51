// Orrery: the sample product that the sample distribution installs. Draws the inner planets on
// their orbits; nothing more is needed to show an installed program starting.
#include <windows.h>

#include <cmath>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT client;
            GetClientRect(window, &client);
            int cx = client.right / 2, cy = client.bottom / 2;
            static const double kOrbits[] = {0.39, 0.72, 1.0, 1.52};
            for (int i = 0; i < 4; ++i) {
                int r = static_cast<int>(kOrbits[i] * 90);
                Arc(dc, cx - r, cy - r, cx + r, cy + r, 0, 0, 0, 0);
                int px = cx + static_cast<int>(r * std::cos(i * 1.7)),
                    py = cy + static_cast<int>(r * std::sin(i * 1.7));
                Ellipse(dc, px - 5, py - 5, px + 5, py + 5);
            }
            Ellipse(dc, cx - 12, cy - 12, cx + 12, cy + 12);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "Orrery";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("Orrery", "Orrery", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 360, 360,
                                nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
