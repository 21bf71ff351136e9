#include "Core/ExecutableBase.h"

#include <string>

#include "Core/DrawCommands.h"
#include "Core/NestingGuard.h"
#include "Core/Procedure.h"
#include "Core/RecordOpeners.h"
#include "Core/SceneCommands.h"
#include "Core/TransformCommands.h"

namespace KUV {

namespace {

constexpr RecordOpener<ExecutableBase> Openers[] = {
    { "Procedure{", &ReadProcedure },
    { "Fill{", &ReadFillCommand },
    { "Stroke{", &ReadStrokeCommand },
    { "DrawImage{", &ReadDrawImageCommand },
    { "PushTransform{", &ReadPushTransformCommand },
    { "PopTransform{", &ReadPopTransformCommand },
    { "Call{", &ReadCallCommand },
    { "CaptureHitTestTransform{", &ReadCaptureHitTestTransformCommand },
    { "RenderKuv{", &ReadRenderKuvCommand },
    { "SetKuvVar{", &ReadSetKuvVarCommand },
};

// Procedures nested deeper than this in the text would exhaust the stack when read,
// run or destroyed; no real scene comes near it.
constexpr int MaxRecordNesting = 256;
thread_local int t_RecordNesting = 0;

} // namespace

std::shared_ptr<ExecutableBase> ReadExecutable(SceneReader& reader)
{
    NestingGuard nesting(t_RecordNesting, MaxRecordNesting);
    const std::string token = reader.ReadWord();
    const SourceLocation readAt = reader.Here();
    const auto read = FindRecordReader(reader, Openers, token, "executable");
    if (nesting.Exceeded())
        reader.RaiseParseError("executable records nested more than " + std::to_string(MaxRecordNesting) + " deep");
    std::shared_ptr<ExecutableBase> executable = read(reader);
    reader.Expect("}");
    executable->m_Owner = reader.scene;
    executable->m_ReadAt = readAt;
    return executable;
}

} // namespace KUV
