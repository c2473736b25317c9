#include "bench/lib/command_line.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace brevora::bench {
namespace {

// A whole number of decimal digits only (no sign, no blanks) within [min, max].
bool ParseNumber(std::string_view text, int64_t min, int64_t max, int64_t* out) {
  if (text.empty() || text.front() < '0' || text.front() > '9') return false;
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  if (value < min || value > max) return false;
  *out = value;
  return true;
}

std::string Join(const std::vector<int64_t>& values) {
  std::string text;
  for (const int64_t v : values) {
    if (!text.empty()) text += ',';
    text += std::to_string(v);
  }
  return text;
}

}  // namespace

CommandLine::CommandLine(std::string program, std::string purpose)
    : program_(std::move(program)), purpose_(std::move(purpose)) {
  Add({"--help", "", "show this text and exit", "", nullptr});
  Add({"--results", "FILE", "also append the figures to FILE, one tab-separated row each", "",
       [this](std::string_view v) {
         if (v.empty()) return false;
         results_ = std::string(v);
         return true;
       }});
}

void CommandLine::Add(Option option) { options_.push_back(std::move(option)); }

void CommandLine::Count(std::string name, std::string help, int64_t* value, int64_t min,
                        int64_t max) {
  Add({"--" + name, "N", std::move(help), std::to_string(*value),
       [=](std::string_view v) { return ParseNumber(v, min, max, value); }});
}

void CommandLine::Count(std::string name, std::string help, int* value, int min, int max) {
  Add({"--" + name, "N", std::move(help), std::to_string(*value), [=](std::string_view v) {
         int64_t n = 0;
         if (!ParseNumber(v, min, max, &n)) return false;
         *value = static_cast<int>(n);
         return true;
       }});
}

void CommandLine::Counts(std::string name, std::string help, std::vector<int64_t>* values,
                         int64_t min, int64_t max) {
  Add({"--" + name, "N,N,...", std::move(help), Join(*values), [=](std::string_view v) {
         std::vector<int64_t> parsed;
         for (;;) {
           const size_t comma = v.find(',');
           int64_t n = 0;
           if (!ParseNumber(v.substr(0, comma), min, max, &n)) return false;
           parsed.push_back(n);
           if (comma == std::string_view::npos) break;
           v.remove_prefix(comma + 1);
         }
         *values = std::move(parsed);
         return true;
       }});
}

void CommandLine::Flag(std::string name, std::string help, bool* value) {
  Add({"--" + name, "", std::move(help), "", [=](std::string_view) {
         *value = true;
         return true;
       }});
}

void CommandLine::Word(std::string word, std::string help, bool* value) {
  Add({std::move(word), "", std::move(help), "", [=](std::string_view) {
         *value = true;
         return true;
       }});
}

const CommandLine::Option* CommandLine::Find(std::string_view name) const {
  for (const Option& o : options_) {
    if (o.name == name) return &o;
  }
  return nullptr;
}

CommandLine::Outcome CommandLine::Parse(const std::vector<std::string>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    std::string_view name = arg;
    std::string_view value;
    bool inline_value = false;
    if (arg.starts_with("--")) {
      if (const size_t eq = arg.find('='); eq != std::string_view::npos) {
        name = arg.substr(0, eq);
        value = arg.substr(eq + 1);
        inline_value = true;
      }
    }
    const Option* option = Find(name);
    const bool is_word = option && !option->name.starts_with("--");
    if (!option || (is_word && inline_value)) {
      return {Outcome::Error, (arg.starts_with("-") ? "unknown option " : "unexpected argument ") +
                                  std::string(arg)};
    }
    if (option->name == "--help") {
      if (inline_value) return {Outcome::Error, "--help takes no value"};
      return {Outcome::Help, ""};
    }
    if (option->meta.empty()) {
      if (inline_value) return {Outcome::Error, option->name + " takes no value"};
    } else if (!inline_value) {
      if (i + 1 == args.size())
        return {Outcome::Error, option->name + " needs a value (" + option->meta + ")"};
      value = args[++i];
    }
    if (!option->set(value)) {
      return {Outcome::Error, "bad value for " + option->name + ": \"" + std::string(value) +
                                  "\" (" + option->meta + ")"};
    }
  }
  return {};
}

void CommandLine::ParseOrExit(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const Outcome outcome = Parse(args);
  if (outcome.kind == Outcome::Help) {
    std::fputs(Usage().c_str(), stdout);
    std::exit(0);
  }
  if (outcome.kind == Outcome::Error) {
    std::fprintf(stderr, "%s: %s\n%s", program_.c_str(), outcome.error.c_str(), Usage().c_str());
    std::exit(2);
  }
}

std::string CommandLine::Usage() const {
  std::string text = "usage: " + program_ + " [options]\n" + purpose_ + "\n\noptions:\n";
  for (const Option& o : options_) {
    std::string left = "  " + o.name + (o.meta.empty() ? "" : " " + o.meta);
    if (left.size() < 26)
      left.resize(26, ' ');
    else
      left += "\n" + std::string(26, ' ');
    text += left + o.help;
    if (!o.shown_default.empty()) text += " (default " + o.shown_default + ")";
    text += '\n';
  }
  return text;
}

}  // namespace brevora::bench
