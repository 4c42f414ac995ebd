#include <gtest/gtest.h>

#include "platform/os/message_translation.h"

namespace {

const HWND kWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x10));
const HWND kMain = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x20));
const RECT kClient{0, 0, 640, 480};

SDL_Event WindowEvent(Uint8 kind, Sint32 data1 = 0, Sint32 data2 = 0) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = kind;
  event.window.data1 = data1;
  event.window.data2 = data2;
  return event;
}

std::vector<MSG> Translate(const SDL_Event& event, HWND window = kWindow, HWND main = kMain, RECT client = kClient) {
  MSG out[kMaxMessagesPerEvent];
  int count = TranslateSdlEvent(event, window, main, client, out);
  return std::vector<MSG>(out, out + count);
}

void ExpectMessage(const MSG& msg, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  EXPECT_EQ(msg.hwnd, window);
  EXPECT_EQ(msg.message, message);
  EXPECT_EQ(msg.wParam, wParam);
  EXPECT_EQ(msg.lParam, lParam);
}

TEST(MessageTranslationTest, FocusBecomesActivationAndGainAlsoSetsInputMethodContext) {
  auto gained = Translate(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
  ASSERT_EQ(gained.size(), 2u);
  ExpectMessage(gained[0], kWindow, WM_ACTIVATEAPP, 1, 0);
  ExpectMessage(gained[1], kWindow, WM_IME_SETCONTEXT, 1, 0);
  auto lost = Translate(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
  ASSERT_EQ(lost.size(), 1u);
  ExpectMessage(lost[0], kWindow, WM_ACTIVATEAPP, 0, 0);
}

TEST(MessageTranslationTest, CloseButtonAndQuitRequestBothCloseTheWindow) {
  auto close = Translate(WindowEvent(SDL_WINDOWEVENT_CLOSE));
  ASSERT_EQ(close.size(), 1u);
  ExpectMessage(close[0], kWindow, WM_CLOSE, 0, 0);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  auto closeMain = Translate(quit, nullptr);
  ASSERT_EQ(closeMain.size(), 1u);
  ExpectMessage(closeMain[0], kMain, WM_CLOSE, 0, 0);
}

TEST(MessageTranslationTest, QuitRequestWithoutWindowEndsLoopDirectly) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  auto messages = Translate(quit, nullptr, nullptr);
  ASSERT_EQ(messages.size(), 1u);
  ExpectMessage(messages[0], nullptr, WM_QUIT, 0, 0);
}

TEST(MessageTranslationTest, SizeMinimiseAndRestoreBecomeSizeMessages) {
  auto changed = Translate(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600));
  ASSERT_EQ(changed.size(), 1u);
  ExpectMessage(changed[0], kWindow, WM_SIZE, SIZE_RESTORED, MakeLParam(800, 600));
  auto minimised = Translate(WindowEvent(SDL_WINDOWEVENT_MINIMIZED));
  ASSERT_EQ(minimised.size(), 1u);
  ExpectMessage(minimised[0], kWindow, WM_SIZE, SIZE_MINIMIZED, 0);
  auto restored = Translate(WindowEvent(SDL_WINDOWEVENT_RESTORED));
  ASSERT_EQ(restored.size(), 1u);
  ExpectMessage(restored[0], kWindow, WM_SIZE, SIZE_RESTORED, MakeLParam(640, 480));
}

TEST(MessageTranslationTest, ExposeMoveAndDisplayEvents) {
  ExpectMessage(Translate(WindowEvent(SDL_WINDOWEVENT_EXPOSED)).at(0), kWindow, WM_PAINT, 0, 0);
  ExpectMessage(Translate(WindowEvent(SDL_WINDOWEVENT_MOVED, 10, 20)).at(0), kWindow, WM_MOVE, 0,
                MakeLParam(10, 20));
  ExpectMessage(Translate(WindowEvent(SDL_WINDOWEVENT_DISPLAY_CHANGED)).at(0), kWindow, WM_DISPLAYCHANGE, 0, 0);
  SDL_Event display{};
  display.type = SDL_DISPLAYEVENT;
  display.display.event = SDL_DISPLAYEVENT_CONNECTED;
  ExpectMessage(Translate(display, nullptr).at(0), kMain, WM_DISPLAYCHANGE, 0, 0);
}

TEST(MessageTranslationTest, EventsForForeignWindowsAndOtherEventsGiveNoMessage) {
  EXPECT_TRUE(Translate(WindowEvent(SDL_WINDOWEVENT_CLOSE), nullptr).empty());
  EXPECT_TRUE(Translate(WindowEvent(SDL_WINDOWEVENT_ENTER)).empty());
  SDL_Event key{};
  key.type = SDL_KEYDOWN;
  EXPECT_TRUE(Translate(key).empty());
}

TEST(MessageTranslationTest, PackedCoordinatesKeepNegativeValuesInSixteenBits) {
  EXPECT_EQ(MakeLParam(-1, 2), static_cast<LPARAM>(0x0002FFFF));
}

}  // namespace
