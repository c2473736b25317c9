#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/windows/window_entry.h"
#include "platform/windows/window_message.h"

namespace brevora::windows {
namespace {

TEST(WindowMessages, EncodeAndDecode) {
  struct Case {
    WindowMessage message;
    std::string datagram;
  };
  const Case cases[] = {
      {WindowMessage::Click("ThunderRT5CommandButton", "Refresh"),
       "click ThunderRT5CommandButton Refresh"},
      {WindowMessage::Click("Button", "Save as..."), "click Button Save as..."},
      {WindowMessage::Activate(), "activate"},
      {WindowMessage::Minimize(), "minimize"},
      {WindowMessage::Title("Microsoft Excel - Book1.tbr"), "title Microsoft Excel - Book1.tbr"},
      {WindowMessage::Title(""), "title "},
      {WindowMessage::Title("caf\xE9"), "title caf\xE9"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeMessage(c.message), c.datagram) << c.datagram;
    EXPECT_EQ(DecodeMessage(c.datagram), c.message) << c.datagram;
  }
}

TEST(WindowMessages, AnythingElseIsNotAMessage) {
  const std::string refused[] = {
      "",
      "activate ",
      "Activate",
      "minimize now",
      "click",
      "click ",
      "click Button",
      "click Button ",
      "click  Refresh",
      "title",
      std::string("title a\nb"),
      std::string("title a\0b", 9),
      std::string("click Button Re\x7F", 16),
      "title " + std::string(256, 'x'),
      "click " + std::string(256, 'B') + " Refresh",
      std::string(1025, 'a'),
  };
  for (const std::string& datagram : refused) {
    EXPECT_EQ(DecodeMessage(datagram), std::nullopt) << datagram;
  }
  EXPECT_EQ(EncodeMessage(WindowMessage::Click("Command Button", "Refresh")), std::nullopt);
  EXPECT_EQ(EncodeMessage(WindowMessage::Click("Button", "")), std::nullopt);
  EXPECT_EQ(EncodeMessage(WindowMessage::Title("two\r\nlines")), std::nullopt);
}

WindowEntry DesktopEntry() {
  WindowEntry entry;
  entry.pid = 4242;
  entry.order = 123456789012345;
  entry.windowClass = "ThunderRT5Form";
  entry.title = "Brevora Desktop";
  entry.buttons = {{"ThunderRT5CommandButton", "Refresh"}, {"ThunderRT5CommandButton", "Sync now"}};
  return entry;
}

TEST(WindowEntries, FileTextRoundTrips) {
  const WindowEntry entry = DesktopEntry();
  const std::string text = FormatEntry(entry);
  EXPECT_EQ(text,
            "brevora-window 1\npid 4242\norder 123456789012345\nclass ThunderRT5Form\n"
            "title Brevora Desktop\nbutton ThunderRT5CommandButton Refresh\n"
            "button ThunderRT5CommandButton Sync now\n");
  EXPECT_EQ(ParseEntry(text), entry);

  WindowEntry untitled = entry;
  untitled.title.clear();
  untitled.buttons.clear();
  EXPECT_EQ(ParseEntry(FormatEntry(untitled)), untitled);
}

TEST(WindowEntries, MalformedFilesAreRefused) {
  const std::string good = FormatEntry(DesktopEntry());
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const std::string refused[] = {
      "",
      good.substr(0, good.size() - 1),  // last line without LF
      replaced("brevora-window 1", "brevora-window 2"),
      replaced("pid 4242", "pid -1"),
      replaced("pid 4242", "pid 99999999999"),
      replaced("pid 4242", "pid 04242"),
      replaced("order 123456789012345", "order 12x"),
      replaced("class ThunderRT5Form", "class Thunder Form"),
      replaced("class ThunderRT5Form", "class "),
      replaced("title Brevora Desktop", "caption Brevora Desktop"),
      replaced("button ThunderRT5CommandButton Refresh", "button ThunderRT5CommandButton"),
      replaced("button ThunderRT5CommandButton Refresh", "button ThunderRT5CommandButton "),
      replaced("Sync now\n", "Sync now\n\n"),
      good + "button B " + std::string(300, 'c') + "\n",
  };
  for (const std::string& text : refused) EXPECT_EQ(ParseEntry(text), std::nullopt) << text;

  std::string many = FormatEntry(WindowEntry{0, 1, 1, "Form", "T", {}});
  for (std::size_t i = 0; i <= kMaxButtons; ++i) many += "button B b" + std::to_string(i) + "\n";
  EXPECT_EQ(ParseEntry(many), std::nullopt);
}

}  // namespace
}  // namespace brevora::windows
