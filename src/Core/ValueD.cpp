#include "Core/ValueD.h"

#include <stdexcept>

#include "Core/Assert.h"
#include "Core/ITavisk.h"

namespace KUV {

float ValueD::Get() const
{
    if (m_Name.empty()) return m_Value;
    KUV_ASSERT(m_Domain != 0);
    float v = 0.f;
    if (m_Domain->ReadVariable(m_Name, &v) != ResultOk) throw std::logic_error(m_Domain->GetErrorText());
    return v;
}

} // namespace KUV
