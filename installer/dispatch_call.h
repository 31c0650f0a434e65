#pragma once

// Late-bound calls through IDispatch, for COM objects without a type library header.

#include "text.h"

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <initializer_list>

using DispatchRef = Microsoft::WRL::ComPtr<IDispatch>;

// An owned VARIANT.
class Variant {
public:
    Variant() noexcept { VariantInit(&value_); }
    explicit Variant(const Text& text);
    explicit Variant(bool flag) noexcept;
    explicit Variant(std::int32_t number) noexcept;
    Variant(Variant&& other) noexcept;
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* get() noexcept { return &value_; }
    const VARIANT& value() const noexcept { return value_; }

private:
    VARIANT value_;
};

// Calls `name` on `object` (a method or a property get) with the arguments in
// their natural order. A failure raises a RaisedError with the object's own
// error number and description where it gives them.
Variant Invoke(IDispatch* object, const wchar_t* name, std::initializer_list<const Variant*> arguments = {});

// The results of Invoke as plain values; a result of another type raises.
DispatchRef AsObject(Variant result);
Text AsText(Variant result);
bool AsBool(Variant result);
