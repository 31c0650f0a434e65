#pragma once

// Late-bound calls through IDispatch, for COM objects without a type library header.

#include <torvalink/handles.h>
#include <torvalink/raised_error.h>
#include <torvalink/text.h>

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <initializer_list>

namespace torvalink {

using DispatchRef = Microsoft::WRL::ComPtr<IDispatch>;

// A text argument for Invoke; fails only when no memory is left for it.
Status TextVariant(const Text& text, Variant& variant);

// The most arguments that Invoke passes; the FileSystemObject needs three.
inline constexpr unsigned MaxArguments = 3;

// Calls `name` on `object` (a method or a property get) with the arguments in
// their natural order. A failure carries the object's own error number and
// description where it gives them.
Status Invoke(IDispatch* object, const wchar_t* name, std::initializer_list<const Variant*> arguments, Variant& value);

// The results of Invoke as plain values; a result of another type fails.
Status AsObject(const Variant& result, DispatchRef& object);
Status AsText(const Variant& result, Text& text);
Status AsBool(const Variant& result, bool& flag);

} // namespace torvalink
