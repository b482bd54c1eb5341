#pragma once
// The legend of the safety classes as its controller sees it. The Win32 form implements it;
// tests use a fake.
#include "app/uInfoWindowView.h"
#include "engine/uEngineTypes.h"

#include <cstdint>
#include <string>

enum class TLegendText : uint8_t {
    ltClassification,
    ltSafe, ltSafeDescription,
    ltPotentiallyUnsafe, ltPotentiallyUnsafeDescription,
    ltUnsafe, ltUnsafeDescription,
};

class ILegendView : public IInfoWindowView {
public:
    virtual void SetText(TLegendText label, const std::string& text) = 0;
    // The picture beside a safety class's name.
    virtual void SetImage(TSafetyClass safety, const std::string& bitmapName) = 0;
    virtual void ShowHelp() = 0;
};
