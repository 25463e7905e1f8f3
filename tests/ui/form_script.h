#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temporary_directory.h"
#include "ui/form1.h"

namespace korvale::ui::testing {

using korvale::testing::TemporaryDirectory;

// A front end that shows nothing and remembers what it was asked.
class FakeFrontEnd : public FrontEnd {
 public:
  void makeTopmost() override { ++topmostRequests; }
  void showErrorReport(const std::string& title, const std::string& message) override {
    reports.push_back(title + ": " + message);
  }
  void endProgram() override { ended = true; }

  int topmostRequests = 0;
  std::vector<std::string> reports;
  bool ended = false;
};

// Replays a session with the calculator over the fake front end, with its state file in a fresh
// directory: start(), what the user does, close(), and start() again for the next run.
class FormScript {
 public:
  FormScript() = default;
  FormScript(const FormScript&) = delete;
  FormScript& operator=(const FormScript&) = delete;

  FormScript& start() {
    frontEnd_ = FakeFrontEnd();
    handlers_.clear();
    form_ = std::make_unique<Form1>(frontEnd_, stateFile());
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

  StateFile stateFile() const {
    StateFile file(directory_.u8path());
    if (writeFault_) file.injectWriteFault(*writeFault_);
    return file;
  }
  void failWritesWith(platform::WriteFault fault) { writeFault_ = fault; }

  void putStateFile(const std::string& bytes) const { directory_.write("Rede.txt", bytes); }
  std::string stateFileBytes() const { return directory_.read("Rede.txt"); }

  Form1& form() { return *form_; }
  const std::string& teeth() { return form_->Text2(0).text(); }
  const std::string& pitch() { return form_->Combo1(1).text(); }
  int selected() { return form_->Combo1(1).SelectedIndex(); }
  const std::string& d() { return form_->Text1(0).text(); }
  const std::string& da() { return form_->Text1(1).text(); }
  const FakeFrontEnd& frontEnd() const { return frontEnd_; }
  // The handlers run since start(), in order.
  const std::vector<std::string>& handlers() const { return handlers_; }

 private:
  TemporaryDirectory directory_;
  std::optional<platform::WriteFault> writeFault_;
  FakeFrontEnd frontEnd_;
  std::unique_ptr<Form1> form_;
  std::vector<std::string> handlers_;
};

}  // namespace korvale::ui::testing
