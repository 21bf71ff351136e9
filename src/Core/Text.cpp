#include "Core/Text.h"

#include "Core/Assert.h"
#include "Core/Factory.h"
#include "Core/SceneReader.h"
#include "Core/TextEncoding.h"
#include "Core/TextGeometryConverter.h"

namespace KUV {

std::shared_ptr<GeometryBase> ReadText(SceneReader& reader)
{
    auto text = std::make_shared<Text>();
    text->m_Text = reader.ReadWord("text");
    text->m_Font = reader.ReadWord("font");
    text->m_Size = reader.ReadValue("size");
    text->m_X = reader.ReadValue("x");
    text->m_Y = reader.ReadValue("y");
    text->m_W = reader.ReadValue("w");
    text->m_H = reader.ReadValue("h");
    return text;
}

namespace {

std::shared_ptr<IDWriteTextFormat> CreateFormat(IDWriteFactory& write, const std::string& font, float size)
{
    const std::u16string family = WidenSceneText(font);
    const auto format = CreateChecked([&](IDWriteTextFormat** out) {
        return write.CreateTextFormat(family.c_str(), nullptr, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
            DWRITE_FONT_STRETCH_NORMAL, size, u"en-us", out);
    });
    format->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_CENTER);
    format->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_CENTER);
    return format;
}

} // namespace

std::shared_ptr<ID2D1Geometry> Text::CreateResource()
{
    KUV_ASSERT(m_Factory);
    KUV_ASSERT(m_Loader);
    const std::shared_ptr<IDWriteFactory> write = m_Loader->GetWriteFactory();
    // The text layer could not start (no font library): every text fails instead of crashing.
    if (!write) CheckD2DResult(E_FAIL);
    const std::shared_ptr<IDWriteTextFormat> format = CreateFormat(*write, m_Font, m_Size.Get());
    const std::u16string text = WidenSceneText(m_Text);
    const auto layout = CreateChecked([&](IDWriteTextLayout** out) {
        return write->CreateTextLayout(
            text.c_str(), static_cast<UINT32>(text.size()), format.get(), m_W.Get(), m_H.Get(), out);
    });

    // Every run's outline goes into one geometry, so that all lines of the text are kept.
    ComPtr<TextGeometryConverter> converter(new TextGeometryConverter(m_Factory));
    CheckD2DResult(converter->Status());
    CheckD2DResult(layout->Draw(nullptr, converter.Get(), m_X.Get(), m_Y.Get()));
    std::shared_ptr<ID2D1Geometry> result;
    CheckD2DResult(converter->Finish(result));
    return result;
}

} // namespace KUV
