#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temporary_directory.h"
#include "ui/form1.h"

namespace korvale::ui::testing {

// A front end that shows nothing and remembers what it was asked.
class FakeFrontEnd : public FrontEnd {
 public:
  void makeTopmost() override { ++topmostRequests; }
  void showErrorReport(const std::string& title, const std::string& message) override {
    reports.push_back(title + ": " + message);
    if (describeWindow) shownAtReport.push_back(describeWindow());
  }
  void endProgram() override { ended = true; }

  int topmostRequests = 0;
  std::vector<std::string> reports;
  // What the window showed while each report was up.
  std::function<std::string()> describeWindow;
  std::vector<std::string> shownAtReport;
  bool ended = false;
};

// Replays a session with the calculator over the fake front end, with its state file in a fresh
// directory: start(), what the user does, close(), and start() again for the next run.
class FormScript {
 public:
  FormScript& start() {
    startHidden();
    form_->windowShown();
    return *this;
  }
  // Start-up up to the moment the window would go on the screen.
  FormScript& startHidden() {
    frontEnd_ = FakeFrontEnd();
    frontEnd_.describeWindow = [this] { return shown(); };
    handlers_.clear();
    StateFile file(directory_.u8path());
    if (writeFault_) file.injectWriteFault(*writeFault_);
    form_ = std::make_unique<Form1>(frontEnd_, file);
    form_->traceHandlers([this](std::string_view name) { handlers_.emplace_back(name); });
    form_->load();
    return *this;
  }
  FormScript& typeTeeth(const std::string& text) {
    form_->userEdited(ControlId::Text2_0, text);
    return *this;
  }
  FormScript& typePitch(const std::string& text) {
    form_->userEdited(ControlId::Combo1_1, text);
    return *this;
  }
  FormScript& pick(int index) {
    form_->userPicked(index);
    return *this;
  }
  FormScript& close() {
    form_->close();
    return *this;
  }

  void failWritesWith(platform::WriteFault fault) { writeFault_ = fault; }
  void putStateFile(const std::string& bytes) const { directory_.write("Rede.txt", bytes); }
  std::string stateFileBytes() const { return directory_.read("Rede.txt"); }

  // What the window shows: "teeth | pitch | selected index | D | Da", e.g.
  // "20 | 5M | 1 | 31.83 | 30.69".
  std::string shown() {
    return form_->Text2(0).text() + " | " + form_->Combo1(1).text() + " | " +
           std::to_string(form_->Combo1(1).SelectedIndex()) + " | " + form_->Text1(0).text() +
           " | " + form_->Text1(1).text();
  }
  Form1& form() { return *form_; }
  const FakeFrontEnd& frontEnd() const { return frontEnd_; }
  // The handlers run since start() or the last call, in order, joined: "Combo1_Click TT".
  std::string takeHandlers() {
    std::string joined;
    for (const std::string& name : handlers_) joined += (joined.empty() ? "" : " ") + name;
    handlers_.clear();
    return joined;
  }

 private:
  korvale::testing::TemporaryDirectory directory_;
  std::optional<platform::WriteFault> writeFault_;
  FakeFrontEnd frontEnd_;
  std::unique_ptr<Form1> form_;
  std::vector<std::string> handlers_;
};

}  // namespace korvale::ui::testing
