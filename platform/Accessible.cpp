// What screen readers are told about a window whose name no label beside it
// gives: the system's own accessible object for the window, with the name
// (and, for a picture, the role) answered here. Everything else is the
// system's answer, so the control reads as any other of its kind.
//
// The accessibility library and the automation strings are loaded when a
// screen reader first asks, never at start: most runs have none.
#include "Layer.h"

#include <oleacc.h>

#include "DllSearch.h"
#include "Text.h"

namespace {

// Spelled out: a MinGW import library resolves the name to a thunk, not to
// the interface's identifier.
const IID AccessibleIid = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

struct TAccessibility {
  using TCreateStd = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  using TResultFrom = LRESULT(WINAPI*)(REFIID, WPARAM, IUnknown*);
  using TAllocString = BSTR(WINAPI*)(const OLECHAR*);
  TCreateStd CreateStd = nullptr;
  TResultFrom ResultFrom = nullptr;
  TAllocString AllocString = nullptr;

  static const TAccessibility& Get() {
    static const TAccessibility library = [] {
      TAccessibility a;
      HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
      a.CreateStd = SystemFunction<TCreateStd>(oleacc, "CreateStdAccessibleObject");
      a.ResultFrom = SystemFunction<TResultFrom>(oleacc, "LresultFromObject");
      a.AllocString = SystemFunction<TAllocString>(LoadSystemLibrary(L"oleaut32.dll"), "SysAllocString");
      return a;
    }();
    return library;
  }
  bool Ready() const { return CreateStd && ResultFrom && AllocString; }
};

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The system's object with its name (and role) replaced. COM objects end
// through Release, never through a pointer to their interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class TNamedAccessible final : public IAccessible {
public:
  TNamedAccessible(IAccessible* inner, TWideText name, LONG role)
      : Inner(inner), Name(std::move(name)), Role(role) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == AccessibleIid) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE; // nothing beyond what is named here: the name must not be lost
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++References; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --References;
    if (left == 0) {
      Inner->Release();
      delete this;
    }
    return left;
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return Inner->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
    return Inner->GetTypeInfo(index, lcid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
    return Inner->GetIDsOfNames(iid, names, count, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argError) override {
    return Inner->Invoke(id, iid, lcid, flags, params, result, exception, argError);
  }

  // IAccessible: the name and the role here, the rest the system's.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return Inner->get_accName(child, name);
    if (!name) return E_POINTER;
    *name = TAccessibility::Get().AllocString(Name.data());
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!Role || !IsSelf(child)) return Inner->get_accRole(child, role);
    if (!role) return E_POINTER;
    role->vt = VT_I4;
    role->lVal = Role;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return Inner->get_accParent(parent); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return Inner->get_accChildCount(count); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return Inner->get_accChild(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return Inner->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return Inner->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return Inner->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return Inner->get_accHelp(child, help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return Inner->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    return Inner->get_accKeyboardShortcut(child, keys);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return Inner->get_accFocus(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override { return Inner->get_accSelection(children); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Inner->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override { return Inner->accSelect(flags, child); }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h, VARIANT child) override {
    return Inner->accLocation(x, y, w, h, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return Inner->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return Inner->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return Inner->accDoDefaultAction(child); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return Inner->put_accName(child, name); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return Inner->put_accValue(child, value);
  }

private:
  ~TNamedAccessible() = default;
  IAccessible* Inner;
  TWideText Name; // ends with its null
  LONG Role;
  ULONG References = 1;
};
#pragma GCC diagnostic pop

} // namespace

void TWindowObject::SetLabel(TWindowObject* label) {
  Label = label;
  if (Handle && Label && Label->ParentObject == ParentObject)
    SetWindowPos(Handle, Label->GetHandle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWindowObject::SetAccessibleName(const std::string& name, LONG role) {
  Name = name;
  Role = role;
}

std::string TWindowObject::AccessibleName() { return Label ? Label->GetText() : Name; }

// WM_GETOBJECT: answered here only for the client area of a window named by
// something other than a label beside it; 0 leaves it to the system.
LRESULT TWindowObject::AccessibleObject(WPARAM wParam, LPARAM lParam) {
  if (LONG(lParam) != OBJID_CLIENT) return 0;
  const bool labelBeside = Label && Label->ParentObject == ParentObject;
  if (labelBeside || (!Label && Name.empty())) return 0;
  const TAccessibility& library = TAccessibility::Get();
  if (!library.Ready()) return 0;
  IAccessible* inner = nullptr;
  if (FAILED(library.CreateStd(Handle, OBJID_CLIENT, AccessibleIid, reinterpret_cast<void**>(&inner))) || !inner)
    return 0;
  auto* named = new TNamedAccessible(inner, WideOf(AccessibleName()), Role);
  const LRESULT result = library.ResultFrom(AccessibleIid, wParam, named);
  named->Release(); // the result holds its own reference
  return result;
}
