#include "frontend/internet.h"

#include <cstdio>

#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/web_browser.h"
#include "platform/text/case.h"
#include "platform/text/codepage.h"

namespace brevora::frontend {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> PercentDecoded(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = HexDigit(text[i + 1]);
    const int low = HexDigit(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  if (out.find('\0') != std::string::npos) return std::nullopt;
  return out;
}

}  // namespace

bool IsBrowsableAddress(std::string_view address) {
  for (const char c : address) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
  }
  return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://") ||
         StartsWithNoCase(address, "file:");
}

bool IsFileAddress(std::string_view address) { return StartsWithNoCase(address, "file:"); }

std::optional<std::string> FileAddressPath(std::string_view address) {
  if (!IsFileAddress(address)) return std::nullopt;
  std::string_view rest = address.substr(5);
  if (rest.substr(0, 2) == "//") {
    rest.remove_prefix(2);
    const size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = rest.substr(0, slash);
    if (!host.empty() && !text::EqualsNoCase(host, "localhost")) return std::nullopt;
    rest.remove_prefix(slash);
  }
  if (rest.empty() || rest.front() != '/') return std::nullopt;
  // The address is code-page text; its escapes stand for UTF-8 bytes.
  const std::optional<std::string> utf8 = PercentDecoded(text::CpToUtf8(rest));
  if (!utf8 || !text::IsValidUtf8(*utf8)) return std::nullopt;
  try {
    return fs::SystemPath(*utf8);
  } catch (...) {
    return std::nullopt;
  }
}

Internet::Internet(Poster post) : post_(std::move(post)) {}

const MemberTable<Internet>& Internet::Members() {
  static const MemberTable<Internet> table{
      {"OpenWebBrowser", CallKind::Method,
       [](Internet& self, Args a) { self.OpenWebBrowser(CStr(a[0])); }, 1},
      {"InternetOnline", CallKind::Method,
       [](Internet& self, Args) { return Variant(self.InternetOnline()); }},
      {"GetWebFile", CallKind::Method,
       [](Internet& self, Args a) {
         self.GetWebFile(Ref<Dispatch>(&ObjectOf(a[0])), CStr(a[1]), CStr(a[2]), CStr(a[3]));
       },
       4}};
  return table;
}

void Internet::OpenWebBrowser(std::string_view address) const {
  const std::string utf8 = text::CpToUtf8(address);
  if (!IsBrowsableAddress(address)) {
    std::fprintf(stderr, "web page refused (not an http, https or file address): %s\n",
                 utf8.c_str());
    return;
  }
  services::CurrentWebBrowser()->Open(utf8);
}

void Internet::GetWebFile(const Ref<Dispatch>& window, const std::string& localPath,
                          const std::string& address, std::string_view) const {
  bool success = false;
  if (const std::optional<std::string> source = FileAddressPath(address)) {
    try {
      fs::MakeFolder(fs::FolderPart(localPath));
      fs::CopyFile(*source, localPath, true);
      success = true;
    } catch (...) {
      success = false;  // the window keeps its banner as it is
    }
  }
  post_([window, localPath, success] {
    try {
      CallByName(window, "DownloadComplete", CallKind::Method, Variant(), localPath, success);
    } catch (...) {
      // A window that can't take the picture keeps its banner as it is.
    }
  });
}

}  // namespace brevora::frontend
