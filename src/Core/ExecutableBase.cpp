#include "Core/ExecutableBase.h"

#include <string>

#include "Core/DrawCommands.h"
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

thread_local int t_RecordNesting = 0;

} // namespace

std::shared_ptr<ExecutableBase> ReadExecutable(SceneReader& reader)
{
    return ReadNestingRecord(reader, Openers, "executable", t_RecordNesting, [](ExecutableBase&) {});
}

} // namespace KUV
