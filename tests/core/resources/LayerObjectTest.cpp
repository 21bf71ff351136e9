// Creating drawing-layer objects: whatever a creation call hands out is owned, even
// when it comes with a failure code, and only S_OK gives the caller an object.
#include <stdexcept>

#include <gtest/gtest.h>

#include "Core/LayerObject.h"

namespace {

// Counts the objects alive, so a test can tell an object that was released from one that leaked.
struct Probe final : RefCounted<IUnknown> {
    static inline int alive = 0;
    Probe() { ++alive; }
    ~Probe() override { --alive; }
};

// A creation call that hands out a new object (or none) together with status.
auto Handing(HRESULT status, bool object = true)
{
    return [status, object](IUnknown** out) {
        *out = object ? new Probe() : nullptr;
        return status;
    };
}

class LayerObject : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(Probe::alive, 0) << "an object the call handed out was never released"; }
};

TEST_F(LayerObject, AnObjectCreatedWithSuccessIsOwnedByTheHandleAlone)
{
    std::shared_ptr<IUnknown> object = KUV::CreateChecked(Handing(S_OK));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(Probe::alive, 1);
    EXPECT_EQ(object->AddRef(), 2u) << "the handle holds the call's one reference, no more";
    object->Release();
    object.reset();
    EXPECT_EQ(Probe::alive, 0);
}

TEST_F(LayerObject, AnObjectHandedOutWithAFailureCodeIsReleased)
{
    HRESULT status = S_OK;
    EXPECT_EQ(KUV::CreateOwned(Handing(E_OUTOFMEMORY), &status), nullptr);
    EXPECT_EQ(status, E_OUTOFMEMORY);
    EXPECT_EQ(Probe::alive, 0);
    // S_FALSE is a success code to the layer, but not the S_OK a creation must report.
    EXPECT_EQ(KUV::CreateOwned(Handing(S_FALSE)), nullptr);
}

TEST_F(LayerObject, ACheckedCreationThatFailsThrowsTheLayersErrorAfterReleasing)
{
    for (const bool handsOutObject : { true, false }) {
        try {
            KUV::CreateChecked(Handing(E_FAIL, handsOutObject));
            ADD_FAILURE() << "no error thrown";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Direct2D returned error: -2147467259");
        }
        EXPECT_EQ(Probe::alive, 0) << handsOutObject;
    }
}

TEST_F(LayerObject, TheHandleMayNameABaseOfWhatTheCallCreates)
{
    struct Derived : RefCounted<IUnknown> { };
    const std::shared_ptr<IUnknown> base = KUV::CreateChecked<IUnknown>([](Derived** out) {
        *out = new Derived();
        return S_OK;
    });
    EXPECT_NE(base, nullptr);
}

} // namespace
