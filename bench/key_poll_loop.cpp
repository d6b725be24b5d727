// The baseline of the F5 benchmark: the least a program does to watch the
// desktop's keyboard as the F5 mode does, the same 112 key-state queries
// every 10 milliseconds and nothing else. It runs until it is ended.
//
//   key_poll_loop            the bare loop, in a thread without windows
//   key_poll_loop --window   the same loop in a thread that owns a shown
//                            window, as a program's user-interface thread
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  if (std::strstr(commandLine, "--window") != nullptr) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"KeyPollLoop";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(L"KeyPollLoop", L"key poll loop", WS_OVERLAPPEDWINDOW, 50, 50, 300,
                                200, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
  }
  volatile SHORT sink = 0;
  for (;;) {
    for (int key = 17; key <= 128; ++key) sink = static_cast<SHORT>(sink | GetAsyncKeyState(key));
    // The window's messages, if any, between the polls.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
}
