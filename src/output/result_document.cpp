#include "output/result_document.h"

#include "output/xml_text.h"

namespace tavorine {

namespace {

constexpr int kCorvantaChannelLimit = 10;

}  // namespace

void ResultDocument::FollowOptions(ChannelSelection channel, bool limits) {
  selection_ = channel;
  limits_ = limits;
}

bool ResultDocument::WritesLimits() const { return limits_ && WritesXml(mode_); }

void ResultDocument::DocOpen() { text_ = WritesXml(mode_) ? "\n<Prtg>\n" : ""; }

void ResultDocument::DocTextOpen() { text_ += WritesXml(mode_) ? "\n<Text>" : "\n# "; }

void ResultDocument::DocTextClose() {
  if (WritesXml(mode_)) {
    text_ += "</Text>\n";
  } else if (mode_ == OutputMode::Brantle && selection_.active) {
    text_.clear();
  }
}

void ResultDocument::DocChannel(std::string_view name, std::string_view value, std::string_view unit) {
  if (WritesLimits() && unit.empty()) return DocCountChannel(name, value, true);
  ++channelCount_;
  if (mode_ == OutputMode::Corvanta) return CorvantaChannel(name, value, unit);
  if (mode_ == OutputMode::Brantle) return BrantleChannel(name, value, unit);
  text_ += "\n<Result><Channel>";
  text_ += EscapeXmlText(name);
  text_ += "</Channel>";
  if (!unit.empty()) {
    text_ += "\n<Unit>Custom</Unit>\n<CustomUnit>";
    text_ += EscapeXmlText(unit);
    text_ += "</CustomUnit>";
  }
  text_ += "\n<Value>";
  text_ += EscapeXmlText(value);
  text_ += "</Value></Result>\n";
}

void ResultDocument::DocCountChannel(std::string_view name, std::string_view value, bool errorAboveZero) {
  ++channelCount_;
  text_ += "\n<Result><Channel>";
  text_ += EscapeXmlText(name);
  text_ += "</Channel>\n<Unit>Count</Unit>\n<Value>";
  text_ += EscapeXmlText(value);
  text_ += "</Value>";
  if (errorAboveZero) text_ += "\n<LimitMaxError>0</LimitMaxError><LimitMode>1</LimitMode>";
  text_ += "</Result>\n";
}

void ResultDocument::CorvantaChannel(std::string_view name, std::string_view value, std::string_view unit) {
  if (channelCount_ > kCorvantaChannelLimit) return;
  const std::string ident = ChannelIdent(name);
  text_ += "\n\nMessage." + ident + ": " + std::string(name) + " (" + std::string(DisplayUnit(unit)) +
           ")\nStatistic." + ident + ": " + std::string(value);
}

void ResultDocument::BrantleChannel(std::string_view name, std::string_view value, std::string_view unit) {
  if (!selection_.active) {
    text_ += "\n> " + std::string(name) + ": " + std::string(value) + " " + std::string(DisplayUnit(unit));
  } else if (selection_.channel == channelCount_) {
    text_ += value;
  }
}

void ResultDocument::DocClose() { text_ += WritesXml(mode_) ? "\n</Prtg>\n" : "\n"; }

void ResultDocument::DocError(std::string_view message) {
  text_ = "<Prtg>\n";
  AppendError(message);
}

void ResultDocument::DocErrorAfterHead(std::string_view message) {
  if (!WritesXml(mode_)) return DocError(message);
  text_.clear();
  AppendError(message);
}

void ResultDocument::AppendError(std::string_view message) {
  text_ += "<Error>1</Error>\n<Text>";
  text_ += EscapeXmlText(message);
  text_ += "</Text>\n</Prtg>\n";
}

void ResultDocument::AppendText(std::string_view text) {
  if (WritesXml(mode_)) {
    text_ += EscapeXmlText(text);
  } else {
    text_ += text;
  }
}

}  // namespace tavorine
