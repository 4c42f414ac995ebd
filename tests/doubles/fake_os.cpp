#include "fake_os.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

FakeOs::FakeOs() { SetOperatingSystem(this); }

FakeOs::~FakeOs() { SetOperatingSystem(nullptr); }

std::string FakeOs::DebugText() const {
  std::string text;
  for (const std::string& line : debugOutput) text += line;
  return text;
}

bool FakeOs::Called(const std::string& name) const {
  return std::find(calls.begin(), calls.end(), name) != calls.end();
}

void* FakeOs::CreateMutexA(const char*) {
  calls.push_back("CreateMutexA");
  return failCreateMutex ? nullptr : &mutexToken_;
}

DWORD FakeOs::WaitForSingleObject(void*, DWORD) {
  calls.push_back("WaitForSingleObject");
  return mutexHeldElsewhere ? WAIT_TIMEOUT : WAIT_OBJECT_0;
}

void FakeOs::ReleaseMutex(void*) { calls.push_back("ReleaseMutex"); }
void FakeOs::CloseHandle(void*) { calls.push_back("CloseHandle"); }

DWORD FakeOs::GetModuleFileNameA(char* buffer, DWORD size) {
  calls.push_back("GetModuleFileNameA");
  if (size == 0) return 0;
  DWORD length = static_cast<DWORD>(moduleFileName.size());
  DWORD copied = std::min(length, size - 1);
  std::memcpy(buffer, moduleFileName.data(), copied);
  buffer[copied] = '\0';
  return copied == length ? copied : size;
}

void FakeOs::CoInitialize() { calls.push_back("CoInitialize"); }
void FakeOs::CoUninitialize() { calls.push_back("CoUninitialize"); }

HWND FakeOs::CreateWindowExA(const char* title, int width, int height, WNDPROC procedure) {
  calls.push_back("CreateWindowExA");
  if (failCreateWindow) return nullptr;
  createdWindows.push_back({title, width, height, procedure});
  procedure_ = procedure;
  window = FakeWindowHandle();
  return window;
}

void FakeOs::DestroyWindow(HWND) {
  calls.push_back("DestroyWindow");
  window = nullptr;
  procedure_ = nullptr;
}

void FakeOs::SetWindowTextA(HWND, const char* text) {
  calls.push_back("SetWindowTextA");
  windowTexts.push_back(text);
}

void FakeOs::ShowWindow(HWND, bool show) { calls.push_back(show ? "ShowWindow" : "HideWindow"); }
void FakeOs::UpdateWindow(HWND) { calls.push_back("UpdateWindow"); }
void FakeOs::CloseWindow(HWND) { calls.push_back("CloseWindow"); }

void FakeOs::SetWindowPos(HWND, int x, int y) {
  calls.push_back("SetWindowPos");
  windowPositions.push_back({x, y});
}

RECT FakeOs::GetClientRect(HWND) { return clientRect; }
RECT FakeOs::GetDesktopRect() { return desktop; }

RECT FakeOs::AdjustWindowRect(RECT client) {
  return RECT{client.left + frame.left, client.top + frame.top, client.right + frame.right,
              client.bottom + frame.bottom};
}

HWND FakeOs::GetActiveWindow() { return activeWindow; }

bool FakeOs::PeekMessageA(MSG* msg) {
  if (messages.empty()) return false;
  *msg = messages.front();
  messages.pop_front();
  return true;
}

void FakeOs::WaitMessage() {
  calls.push_back("WaitMessage");
  ++waitMessageCount;
  if (arrivingMessages.empty()) return;
  messages.push_back(arrivingMessages.front());
  arrivingMessages.pop_front();
}

LRESULT FakeOs::DispatchMessageA(const MSG* msg) {
  if (msg->hwnd != window || !procedure_) return 0;
  return procedure_(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT FakeOs::SendMessageA(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
  calls.push_back("SendMessageA");
  sentMessages.push_back({target, message, wParam, lParam});
  if (target != window || !procedure_) return 0;
  return procedure_(target, message, wParam, lParam);
}

void FakeOs::PostQuitMessage(int exitCode) {
  calls.push_back("PostQuitMessage");
  quitCodes.push_back(exitCode);
  messages.push_back(MSG{nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0});
}

LRESULT FakeOs::DefWindowProcA(HWND, UINT, WPARAM, LPARAM) {
  calls.push_back("DefWindowProcA");
  return 0;
}

int FakeOs::MessageBoxA(HWND owner, const char* text, const char* caption, UINT style) {
  calls.push_back("MessageBoxA");
  messageBoxes.push_back({owner, text, caption, style});
  if (echoToStderr) std::fprintf(stderr, "[%s] %s\n", caption, text);
  return IDOK;
}

DWORD FakeOs::timeGetTime() {
  DWORD time = now;
  now += advancePerTimeQuery;
  return time;
}

void FakeOs::Sleep(DWORD ms) {
  sleeps.push_back(ms);
  now += ms;
}

void FakeOs::OutputDebugStringA(const char* text) {
  debugOutput.push_back(text);
  if (echoToStderr) std::fputs(text, stderr);
}
void FakeOs::GetLocalTime(SYSTEMTIME* time) { *time = localTime; }

bool FakeOs::GetVersionExA(OSVERSIONINFOA* info) {
  *info = version;
  return true;
}

void FakeOs::GlobalMemoryStatus(MEMORYSTATUS* status) { *status = memory; }

int FakeOs::ShowCursor(bool show) {
  showCursorCalls.push_back(show);
  cursorCounter += show ? 1 : -1;
  return cursorCounter;
}

bool FakeOs::GetCursorPos(POINT* point) {
  *point = cursor;
  return true;
}

bool FakeOs::SetCursorPos(int x, int y) {
  cursorMoves.push_back({x, y});
  cursor = {x, y};
  return true;
}

void FakeOs::ScreenToClient(HWND, POINT* point) {
  point->x -= clientOrigin.x;
  point->y -= clientOrigin.y;
}

void FakeOs::ClientToScreen(HWND, POINT* point) {
  point->x += clientOrigin.x;
  point->y += clientOrigin.y;
}

int16_t FakeOs::GetAsyncKeyState(int virtualKey) {
  auto it = asyncKeys.find(virtualKey);
  return it == asyncKeys.end() ? 0 : it->second;
}

void FakeOs::CloseInputMethodWindow(HWND) { calls.push_back("CloseInputMethodWindow"); }
