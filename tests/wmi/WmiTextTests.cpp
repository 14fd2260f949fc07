#include "wmi/WmiSession.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <oleauto.h>

namespace {

// A VARIANT holding a one-dimensional array of the given element type, released with the test.
class ArrayVariant {
public:
    ArrayVariant(VARTYPE type, ULONG count, LONG lowerBound = 0) {
        VariantInit(&value);
        SAFEARRAYBOUND bound{count, lowerBound};
        value.parray = SafeArrayCreate(type, 1, &bound);
        value.vt = static_cast<VARTYPE>(VT_ARRAY | type);
    }
    ArrayVariant(std::initializer_list<const wchar_t*> texts) : ArrayVariant(VT_BSTR, static_cast<ULONG>(texts.size())) {
        LONG index = 0;
        for (const wchar_t* text : texts) {
            PutText(index++, text);
        }
    }
    ~ArrayVariant() { VariantClear(&value); }
    ArrayVariant(const ArrayVariant&) = delete;
    ArrayVariant& operator=(const ArrayVariant&) = delete;

    ArrayVariant& PutText(LONG index, const wchar_t* text) {
        BSTR bstr = text != nullptr ? SysAllocString(text) : nullptr;
        EXPECT_EQ(SafeArrayPutElement(value.parray, &index, bstr), S_OK);
        SysFreeString(bstr);
        return *this;
    }

    ArrayVariant& PutVariant(LONG index, VARIANT element) {
        EXPECT_EQ(SafeArrayPutElement(value.parray, &index, &element), S_OK);
        VariantClear(&element);
        return *this;
    }

    template <typename Number>
    ArrayVariant& PutNumber(LONG index, Number number) {
        EXPECT_EQ(SafeArrayPutElement(value.parray, &index, &number), S_OK);
        return *this;
    }

    VARIANT value;
};

VARIANT Text(const wchar_t* text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(text);
    return v;
}

VARIANT Int(LONG number) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = number;
    return v;
}

VARIANT Byte(BYTE number) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_UI1;
    v.bVal = number;
    return v;
}

VARIANT Null() {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_NULL;
    return v;
}

} // namespace

TEST(VariantToText, EmptyAndNullGiveEmptyText) {
    VARIANT empty;
    VariantInit(&empty);
    EXPECT_EQ(VariantToText(empty), L"");
    EXPECT_EQ(VariantToText(Null()), L"");
}

TEST(VariantToText, ConvertsNumbersAndStopsTextAtFirstNull) {
    EXPECT_EQ(VariantToText(Int(-1048576)), L"-1048576");
    EXPECT_EQ(VariantToText(Byte(200)), L"200");

    VARIANT embedded;
    VariantInit(&embedded);
    embedded.vt = VT_BSTR;
    embedded.bstrVal = SysAllocStringLen(L"ab\0cd", 5);
    EXPECT_EQ(VariantToText(embedded), L"ab");
    VariantClear(&embedded);

    VARIANT nullText;
    VariantInit(&nullText);
    nullText.vt = VT_BSTR;
    nullText.bstrVal = nullptr;
    EXPECT_EQ(VariantToText(nullText), L"");
}

TEST(VariantToText, FailedConversionGivesEmptyText) {
    VARIANT object;
    VariantInit(&object);
    object.vt = VT_UNKNOWN;
    object.punkVal = nullptr;
    EXPECT_EQ(VariantToText(object), L"");
}

TEST(SafeArrayToText, JoinsTextElementsAndSkipsEmptyOnes) {
    ArrayVariant texts{L"a", L"", L"b", nullptr, L"c d"};
    EXPECT_EQ(VariantToText(texts.value), L"a; b; c d");
    EXPECT_EQ(SafeArrayToText(texts.value), L"a; b; c d");
}

TEST(SafeArrayToText, JoinsIntegerElementsOfEveryReadWidth) {
    ArrayVariant ints(VT_I4, 3);
    ints.PutNumber<LONG>(0, 1).PutNumber<LONG>(1, -2).PutNumber<LONG>(2, 0);
    EXPECT_EQ(VariantToText(ints.value), L"1; -2; 0");

    ArrayVariant shorts(VT_UI2, 2);
    shorts.PutNumber<USHORT>(0, 65535).PutNumber<USHORT>(1, 3);
    EXPECT_EQ(VariantToText(shorts.value), L"65535; 3");

    ArrayVariant signedShorts(VT_I2, 1);
    signedShorts.PutNumber<SHORT>(0, -7);
    EXPECT_EQ(VariantToText(signedShorts.value), L"-7");

    ArrayVariant longs(VT_UI8, 2);
    longs.PutNumber<ULONGLONG>(0, UINT64_MAX).PutNumber<ULONGLONG>(1, 4294967296ull);
    EXPECT_EQ(VariantToText(longs.value), L"18446744073709551615; 4294967296");

    ArrayVariant unsignedInts(VT_UI4, 1);
    unsignedInts.PutNumber<ULONG>(0, 4294967295u);
    EXPECT_EQ(VariantToText(unsignedInts.value), L"4294967295");
}

TEST(SafeArrayToText, SkipsBytesBooleansAndFloatingPointNumbers) {
    ArrayVariant bytes(VT_UI1, 3);
    bytes.PutNumber<BYTE>(0, 65).PutNumber<BYTE>(1, 66).PutNumber<BYTE>(2, 0);
    EXPECT_EQ(VariantToText(bytes.value), L"");

    ArrayVariant flags(VT_BOOL, 1);
    flags.PutNumber<VARIANT_BOOL>(0, VARIANT_TRUE);
    EXPECT_EQ(VariantToText(flags.value), L"");

    ArrayVariant reals(VT_R8, 1);
    reals.PutNumber<double>(0, 1.5);
    EXPECT_EQ(VariantToText(reals.value), L"");
}

TEST(SafeArrayToText, ReadsVariantElementsWhole) {
    ArrayVariant mixed(VT_VARIANT, 5);
    mixed.PutVariant(0, Text(L"x")).PutVariant(1, Int(7)).PutVariant(2, Null()).PutVariant(3, Text(L""));
    mixed.PutVariant(4, Byte(5));
    EXPECT_EQ(VariantToText(mixed.value), L"x; 7; 5");
}

TEST(SafeArrayToText, ReadsNestedArrayInsideVariantElement) {
    ArrayVariant inner{L"p", L"q"};
    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(VariantCopy(&copy, &inner.value), S_OK);
    ArrayVariant outer(VT_VARIANT, 2);
    outer.PutVariant(0, copy).PutVariant(1, Text(L"r"));
    EXPECT_EQ(VariantToText(outer.value), L"p; q; r");
}

TEST(SafeArrayToText, WalksFromLowerToUpperBound) {
    ArrayVariant shifted(VT_BSTR, 3, 5);
    shifted.PutText(5, L"first").PutText(6, L"second").PutText(7, L"third");
    EXPECT_EQ(VariantToText(shifted.value), L"first; second; third");

    ArrayVariant negative(VT_I4, 2, -1);
    negative.PutNumber<LONG>(-1, 10).PutNumber<LONG>(0, 20);
    EXPECT_EQ(VariantToText(negative.value), L"10; 20");
}

TEST(SafeArrayToText, MissingEmptyOrMultiDimensionalArrayGivesEmptyText) {
    VARIANT missing;
    VariantInit(&missing);
    missing.vt = VT_ARRAY | VT_BSTR;
    missing.parray = nullptr;
    EXPECT_EQ(VariantToText(missing), L"");

    ArrayVariant none(VT_BSTR, 0);
    EXPECT_EQ(VariantToText(none.value), L"");

    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    VARIANT grid;
    VariantInit(&grid);
    grid.vt = VT_ARRAY | VT_I4;
    grid.parray = SafeArrayCreate(VT_I4, 2, bounds);
    LONG index[2] = {0, 0};
    LONG number = 9;
    SafeArrayPutElement(grid.parray, index, &number);
    EXPECT_EQ(VariantToText(grid), L"");
    VariantClear(&grid);

    VARIANT scalar = Int(3);
    EXPECT_EQ(SafeArrayToText(scalar), L"");
}

TEST(SafeArrayToText, FollowsArrayHeldByReference) {
    ArrayVariant texts{L"u", L"v"};
    VARIANT reference;
    VariantInit(&reference);
    reference.vt = VT_BYREF | VT_ARRAY | VT_BSTR;
    reference.pparray = &texts.value.parray;
    EXPECT_EQ(VariantToText(reference), L"u; v");
}

// An array that does not record its element type: only the variant's type tells how to read it.
class UntypedArray {
public:
    UntypedArray(ULONG elementSize, ULONG count) {
        SafeArrayAllocDescriptor(1, &array);
        array->fFeatures = 0;
        array->cbElements = elementSize;
        array->rgsabound[0] = {count, 0};
        SafeArrayAllocData(array);
    }
    ~UntypedArray() { SafeArrayDestroy(array); }
    UntypedArray(const UntypedArray&) = delete;
    UntypedArray& operator=(const UntypedArray&) = delete;

    VARIANT ClaimedAs(VARTYPE type) const {
        VARIANT v;
        VariantInit(&v);
        v.vt = static_cast<VARTYPE>(VT_ARRAY | type);
        v.parray = array;
        return v;
    }

    SAFEARRAY* array = nullptr;
};

TEST(SafeArrayToText, TakesUnrecordedElementTypeFromVariantOnlyWhenTheArrayAgrees) {
    VARTYPE recorded = VT_EMPTY;
    UntypedArray ints(4, 2);
    ASSERT_NE(SafeArrayGetVartype(ints.array, &recorded), S_OK);
    static_cast<LONG*>(ints.array->pvData)[0] = 41;
    static_cast<LONG*>(ints.array->pvData)[1] = -42;
    EXPECT_EQ(VariantToText(ints.ClaimedAs(VT_I4)), L"41; -42");

    // Taken at its word, the claim would copy raw bytes into a BSTR and free memory the array owns.
    UntypedArray bytes(1, 8);
    memset(bytes.array->pvData, 0x41, 8);
    EXPECT_EQ(VariantToText(bytes.ClaimedAs(VT_BSTR)), L"");
    EXPECT_EQ(VariantToText(ints.ClaimedAs(VT_BSTR)), L"");
    EXPECT_EQ(VariantToText(ints.ClaimedAs(VT_VARIANT)), L"");
    EXPECT_EQ(VariantToText(ints.ClaimedAs(VT_I8)), L"");
}

TEST(CimValueToText, ReadsUnsignedTypesThatArriveSigned) {
    // A 4 GiB graphics adapter's AdapterRAM as WMI hands it over: uint32 0xFFF00000 in VT_I4.
    EXPECT_EQ(CimValueToText(Int(-1048576), CIM_UINT32), L"4293918720");
    EXPECT_EQ(CimValueToText(Int(-1), CIM_UINT32), L"4294967295");
    EXPECT_EQ(CimValueToText(Int(65535), CIM_UINT16), L"65535");
    VARIANT signedShort;
    VariantInit(&signedShort);
    signedShort.vt = VT_I2;
    signedShort.iVal = -1;
    EXPECT_EQ(CimValueToText(signedShort, CIM_UINT16), L"65535");
    EXPECT_EQ(CimValueToText(Byte(200), CIM_UINT8), L"200");
}

TEST(CimValueToText, KeepsSignedTypesAndNonIntegerValues) {
    EXPECT_EQ(CimValueToText(Int(-1048576), CIM_SINT32), L"-1048576");
    EXPECT_EQ(CimValueToText(Int(-1048576), CIM_EMPTY), L"-1048576");
    EXPECT_EQ(CimValueToText(Null(), CIM_UINT32), L"");
    VARIANT text = Text(L"18446744073709551615");
    EXPECT_EQ(CimValueToText(text, CIM_UINT64), L"18446744073709551615");
    VariantClear(&text);
}

TEST(CimValueToText, ReadsEveryElementOfAnUnsignedArray) {
    ArrayVariant ints(VT_I4, 3);
    ints.PutNumber<LONG>(0, -1048576).PutNumber<LONG>(1, 7).PutNumber<LONG>(2, -1);
    EXPECT_EQ(CimValueToText(ints.value, CIM_UINT32 | CIM_FLAG_ARRAY), L"4293918720; 7; 4294967295");
    EXPECT_EQ(CimValueToText(ints.value, CIM_SINT32 | CIM_FLAG_ARRAY), L"-1048576; 7; -1");

    ArrayVariant variants(VT_VARIANT, 1);
    variants.PutVariant(0, Int(-2));
    EXPECT_EQ(CimValueToText(variants.value, CIM_UINT32 | CIM_FLAG_ARRAY), L"4294967294");
}

TEST(FormatHResult, WritesCodeInUpperCaseHexWithoutLeadingZeros) {
    EXPECT_EQ(FormatHResult(static_cast<HRESULT>(0x80041010)).rfind(L"0x80041010 \u2013 ", 0), 0u);
    EXPECT_EQ(FormatHResult(static_cast<HRESULT>(0x0000ABCD)).rfind(L"0xABCD \u2013 ", 0), 0u);
    EXPECT_EQ(FormatHResult(S_OK).rfind(L"0x0 \u2013 ", 0), 0u);
}

TEST(FormatHResult, UsesDispatchStandInForInterfaceCodesWithoutSystemText) {
    EXPECT_EQ(FormatHResult(static_cast<HRESULT>(0x80041001)), L"0x80041001 \u2013 IDispatch error #3585");
    EXPECT_EQ(FormatHResult(static_cast<HRESULT>(0x80041010)), L"0x80041010 \u2013 IDispatch error #3600");
    EXPECT_EQ(FormatHResult(static_cast<HRESULT>(0x8004FFFF)), L"0x8004FFFF \u2013 IDispatch error #65023");
}

TEST(FormatHResult, UsesUnknownErrorOutsideTheDispatchRange) {
    EXPECT_EQ(FormatHResult(static_cast<HRESULT>(0x80010119)), L"0x80010119 \u2013 Unknown error 0x80010119");
    EXPECT_EQ(FormatHResult(static_cast<HRESULT>(0x80040200)), L"0x80040200 \u2013 Unknown error 0x80040200");
    EXPECT_EQ(FormatHResult(static_cast<HRESULT>(0x80050000)), L"0x80050000 \u2013 Unknown error 0x80050000");
}

TEST(FormatHResult, SystemTextLosesItsLineEnd) {
    const std::wstring text = FormatHResult(E_ACCESSDENIED);
    const std::wstring prefix = L"0x80070005 \u2013 ";
    ASSERT_EQ(text.rfind(prefix, 0), 0u);
    ASSERT_GT(text.size(), prefix.size());
    EXPECT_NE(text.back(), L'\n');
    EXPECT_NE(text.back(), L'\r');
    EXPECT_EQ(text.find(L"Unknown error"), std::wstring::npos);
}

TEST(GetRowValue, FallsBackForMissingOrEmptyValuesAndMatchesCase) {
    const WmiRow row = {{L"Name", L"Disk"}, {L"Serial", L""}};
    EXPECT_EQ(GetRowValue(row, L"Name", L"-"), L"Disk");
    EXPECT_EQ(GetRowValue(row, L"Serial", L"-"), L"-");
    EXPECT_EQ(GetRowValue(row, L"Model", L"-"), L"-");
    EXPECT_EQ(GetRowValue(row, L"name", L"-"), L"-");
}
