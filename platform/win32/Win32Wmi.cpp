#include "platform/PlatformError.h"
#include "platform/PlatformWmi.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>
#include <wbemidl.h>

namespace platform {
namespace {

template <class T> struct ComPtr {
    T* p = nullptr;
    ~ComPtr() { if (p) p->Release(); }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
};

struct Bstr {
    BSTR b;
    explicit Bstr(const std::wstring& text) : b(SysAllocString(text.c_str())) {}
    ~Bstr() { SysFreeString(b); }
};

// Balances a successful CoInitializeEx; a thread already in another apartment keeps it.
struct ComApartment {
    bool owned;
    ComApartment() : owned(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() { if (owned) CoUninitialize(); }
};

void Check(HRESULT hr, const char* what)
{
    if (FAILED(hr))
        throw EOSError(static_cast<int>(hr), std::string(what) + ": " + SystemErrorMessage(static_cast<int>(hr)));
}

WmiObject ReadProperties(IWbemClassObject* object)
{
    WmiObject result;
    if (FAILED(object->BeginEnumeration(WBEM_FLAG_NONSYSTEM_ONLY)))
        return result;
    BSTR name = nullptr;
    VARIANT value;
    VariantInit(&value);
    while (object->Next(0, &name, &value, nullptr, nullptr) == WBEM_S_NO_ERROR) {
        VARIANT text;
        VariantInit(&text);
        if (value.vt != VT_NULL && value.vt != VT_EMPTY && SUCCEEDED(VariantChangeType(&text, &value, 0, VT_BSTR)))
            result[Narrow(name, static_cast<int>(SysStringLen(name)))] =
                Narrow(text.bstrVal, static_cast<int>(SysStringLen(text.bstrVal)));
        VariantClear(&text);
        VariantClear(&value);
        SysFreeString(name);
        name = nullptr;
    }
    object->EndEnumeration();
    return result;
}

} // namespace

bool WmiQuery(const std::string& wql, std::vector<WmiObject>& objects)
{
    objects.clear();
    ComApartment apartment;
    ComPtr<IWbemLocator> locator;
    Check(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                           reinterpret_cast<void**>(&locator)),
          "WMI locator");
    ComPtr<IWbemServices> services;
    Bstr ns(L"root\\CIMV2");
    Check(locator->ConnectServer(ns.b, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services), "WMI connect");
    CoSetProxyBlanket(services.p, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    ComPtr<IEnumWbemClassObject> enumerator;
    Bstr language(L"WQL");
    Bstr query(Widen(wql));
    Check(services->ExecQuery(language.b, query.b, WBEM_FLAG_FORWARD_ONLY, nullptr, &enumerator), "WMI query");
    if (!enumerator.p)
        return false;
    for (;;) {
        ComPtr<IWbemClassObject> object;
        ULONG returned = 0;
        const HRESULT hr = enumerator->Next(static_cast<LONG>(WBEM_INFINITE), 1, &object, &returned);
        if (hr != WBEM_S_NO_ERROR || returned == 0)
            break;
        objects.push_back(ReadProperties(object.p));
    }
    return true;
}

} // namespace platform
