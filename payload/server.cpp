// TORVALINK.ocx: an in-process COM server with one class, which registers
// and unregisters itself.

#include "torvalink_control.h"

#include <windows.h>
#include <objbase.h>

#include <cstddef>

namespace {

HMODULE thisModule;
LONG liveObjects; // objects and server locks keeping the library loaded

// The control: a COM object that exists, counts its references and keeps the
// server loaded while it lives.
class Control final : public IUnknown {
public:
    Control() { InterlockedIncrement(&liveObjects); }

    // COM's task allocator: a failed allocation gives null rather than an exception.
    static void* operator new(std::size_t size) noexcept { return CoTaskMemAlloc(size); }
    static void operator delete(void* object) noexcept { CoTaskMemFree(object); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown)) {
            *object = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

private:
    ~Control() { InterlockedDecrement(&liveObjects); }
    LONG references = 1;
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // One static factory for the life of the library.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        Control* control = new Control;
        if (!control)
            return E_OUTOFMEMORY;
        const HRESULT result = control->QueryInterface(iid, object);
        control->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            InterlockedIncrement(&liveObjects);
        else
            InterlockedDecrement(&liveObjects);
        return S_OK;
    }
};

Factory factory;

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
#ifdef TORVALINK_LOAD_FAILS
        // Test builds only: a library that refuses to be loaded.
        return FALSE;
#endif
        thisModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllCanUnloadNow()
{
    return liveObjects == 0 ? S_OK : S_FALSE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_TorvaLinkControl))
        return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(iid, object);
}

HMODULE ServerModule()
{
    return thisModule;
}
