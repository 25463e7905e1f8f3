#include "ui/win32/accessible_names.h"

// initguid.h first: this file defines the annotation service's GUIDs that oleacc.h declares.
#include <initguid.h>
#include <oleacc.h>

namespace korvale::ui::win32 {
namespace {

class DynamicAnnotationNames : public AccessibleNames {
 public:
  DynamicAnnotationNames() {
    // S_FALSE: COM was already on for this thread, which still asks for its uninitialize.
    const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comStarted_ = started == S_OK || started == S_FALSE;
    CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                     reinterpret_cast<void**>(&service_));
  }
  ~DynamicAnnotationNames() override {
    if (service_ != nullptr) service_->Release();
    if (comStarted_) CoUninitialize();
  }
  DynamicAnnotationNames(const DynamicAnnotationNames&) = delete;
  DynamicAnnotationNames& operator=(const DynamicAnnotationNames&) = delete;

  void name(HWND control, const std::wstring& name) override {
    if (service_ == nullptr) return;
    service_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                             PROPID_ACC_NAME, name.c_str());
  }
  void forget(HWND control) override {
    if (service_ == nullptr) return;
    const MSAAPROPID properties[] = {PROPID_ACC_NAME};
    service_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, properties,
                             1);
  }

 private:
  bool comStarted_ = false;
  IAccPropServices* service_ = nullptr;
};

}  // namespace

std::unique_ptr<AccessibleNames> dynamicAnnotationNames() {
  return std::make_unique<DynamicAnnotationNames>();
}

}  // namespace korvale::ui::win32
