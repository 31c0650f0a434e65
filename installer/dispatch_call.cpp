#include "dispatch_call.h"

#include "failures.h"

#include <memory>

namespace torvalink {

namespace {

// IID_NULL, which IDispatch takes in a reserved argument; written out so that
// no GUID library is linked for it.
constexpr IID ReservedIid{};

Text BstrText(BSTR text)
{
    return text ? Text(text, SysStringLen(text)) : Text();
}

Status InvokeFailure(HRESULT result, EXCEPINFO& exception)
{
    if (result != DISP_E_EXCEPTION)
        return HResultFailure(result);
    if (exception.pfnDeferredFillIn)
        exception.pfnDeferredFillIn(&exception);
    const UniqueBstr source(exception.bstrSource), description(exception.bstrDescription), help(exception.bstrHelpFile);
    const std::int32_t number = ErrorNumberOf(exception.scode != S_OK ? exception.scode : result);
    Text text = BstrText(description.get());
    // The Scripting Runtime gives its numbers without a text.
    if (text.empty())
        text = ErrorDescription(number);
    return Failure(number, text, BstrText(source.get()));
}

} // namespace

Status TextVariant(const Text& text, Variant& variant)
{
    return variant.AssignText(text.data(), text.size()) ? Status() : HResultFailure(E_OUTOFMEMORY);
}

Status Invoke(IDispatch* object, const wchar_t* name, std::initializer_list<const Variant*> arguments, Variant& value)
{
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT result = object->GetIDsOfNames(ReservedIid, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result))
        return HResultFailure(result);

    // IDispatch takes the arguments last to first; these are shallow copies
    // that the caller's Variants keep owning.
    VARIANT reversed[MaxArguments];
    const UINT count = static_cast<UINT>(arguments.size());
    if (count > MaxArguments)
        return HResultFailure(DISP_E_BADPARAMCOUNT);
    UINT slot = count;
    for (const Variant* argument : arguments)
        reversed[--slot] = argument->value();

    DISPPARAMS parameters{reversed, nullptr, count, 0};
    EXCEPINFO exception{};
    UINT badArgument = 0;
    VariantClear(value.get());
    result = object->Invoke(id, ReservedIid, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &parameters,
                            value.get(), &exception, &badArgument);
    return FAILED(result) ? InvokeFailure(result, exception) : Status();
}

Status AsObject(const Variant& result, DispatchRef& object)
{
    if (result.value().vt != VT_DISPATCH || !result.value().pdispVal)
        return HResultFailure(DISP_E_TYPEMISMATCH);
    object = result.value().pdispVal;
    return {};
}

Status AsText(const Variant& result, Text& text)
{
    if (result.value().vt != VT_BSTR)
        return HResultFailure(DISP_E_TYPEMISMATCH);
    text = BstrText(result.value().bstrVal);
    return {};
}

Status AsBool(const Variant& result, bool& flag)
{
    if (result.value().vt != VT_BOOL)
        return HResultFailure(DISP_E_TYPEMISMATCH);
    flag = result.value().boolVal != VARIANT_FALSE;
    return {};
}

} // namespace torvalink
