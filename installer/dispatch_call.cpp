#include "dispatch_call.h"

#include "raised_error.h"

#include <memory>
#include <new>
#include <vector>

namespace {

// IID_NULL, which IDispatch takes in a reserved argument; written out so that
// no GUID library is linked for it.
constexpr IID ReservedIid{};

struct BstrFreer {
    void operator()(BSTR text) const noexcept { SysFreeString(text); }
};
using UniqueBstr = std::unique_ptr<OLECHAR, BstrFreer>;

// Errors of the Automation controls (facility CONTROL) carry the classic
// error numbers in their low word: 0x800A0035 is error 53, "File not found".
std::int32_t ErrorNumber(HRESULT result)
{
    return HRESULT_FACILITY(result) == FACILITY_CONTROL ? HRESULT_CODE(result) : static_cast<std::int32_t>(result);
}

[[noreturn]] void RaiseInvokeFailure(HRESULT result, EXCEPINFO& exception)
{
    if (result != DISP_E_EXCEPTION)
        RaiseHResult(result);
    if (exception.pfnDeferredFillIn)
        exception.pfnDeferredFillIn(&exception);
    const UniqueBstr source(exception.bstrSource), description(exception.bstrDescription), help(exception.bstrHelpFile);
    const HRESULT code = exception.scode != S_OK ? exception.scode : result;
    Text text = description ? Text(description.get(), SysStringLen(description.get())) : L"";
    if (text.empty())
        text = SystemMessage(static_cast<DWORD>(code));
    Raise(ErrorNumber(code), text, source ? Text(source.get(), SysStringLen(source.get())) : L"");
}

} // namespace

Variant::Variant(const Text& text) : Variant()
{
    value_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!value_.bstrVal)
        throw std::bad_alloc();
    value_.vt = VT_BSTR;
}

Variant::Variant(bool flag) noexcept : Variant()
{
    value_.vt = VT_BOOL;
    value_.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
}

Variant::Variant(std::int32_t number) noexcept : Variant()
{
    value_.vt = VT_I4;
    value_.lVal = number;
}

Variant::Variant(Variant&& other) noexcept : value_(other.value_)
{
    VariantInit(&other.value_);
}

Variant Invoke(IDispatch* object, const wchar_t* name, std::initializer_list<const Variant*> arguments)
{
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT result = object->GetIDsOfNames(ReservedIid, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result))
        RaiseHResult(result);

    // IDispatch takes the arguments last to first; these are shallow copies
    // that the caller's Variants keep owning.
    std::vector<VARIANT> reversed(arguments.size());
    auto slot = reversed.rbegin();
    for (const Variant* argument : arguments)
        *slot++ = argument->value();

    DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    Variant value;
    EXCEPINFO exception{};
    UINT badArgument = 0;
    result = object->Invoke(id, ReservedIid, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &parameters,
                            value.get(), &exception, &badArgument);
    if (FAILED(result))
        RaiseInvokeFailure(result, exception);
    return value;
}

DispatchRef AsObject(Variant result)
{
    if (result.value().vt != VT_DISPATCH || !result.value().pdispVal)
        RaiseHResult(DISP_E_TYPEMISMATCH);
    return DispatchRef(result.value().pdispVal);
}

Text AsText(Variant result)
{
    if (result.value().vt != VT_BSTR)
        RaiseHResult(DISP_E_TYPEMISMATCH);
    const BSTR text = result.value().bstrVal;
    return text ? Text(text, SysStringLen(text)) : Text();
}

bool AsBool(Variant result)
{
    if (result.value().vt != VT_BOOL)
        RaiseHResult(DISP_E_TYPEMISMATCH);
    return result.value().boolVal != VARIANT_FALSE;
}
