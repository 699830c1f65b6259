#include "dispatch.h"

#include "bmi_family.h"
#include "waist_family.h"

namespace anthropometry {

namespace {

namespace M = records::method;

const DispatchEntry kAnthropometricDispatch[] = {
    {M::kImc, &Calcula_IMC},
    {M::kImcMust, &Calcula_IMC_Must},
    {M::kRcq, &Calcula_RCQ},
    {M::kCircunfCintura, &Calcula_CircunfCintura},
    {M::kImcAmputado, &Calcula_IMC_Amputado},
    {M::kImcAdolescente, &Calcula_IMCAdolescente},
    {M::kImcOms98, &Calcula_IMCOms98},
    {M::kRcqOms98, &Calcula_RCQOms98},
    {M::kCircCintOms98, &Calcula_CircCintOms98},
    {M::kImcIdoso, &Calcula_IMCIdoso},
    {M::kImcGestante, &Calcula_IMCGestante},
};

}  // namespace

const records::MethodDescriptor& DispatchEntry::method() const
{
    return *records::findMethodDescriptor(code);
}

std::span<const DispatchEntry> anthropometricDispatch()
{
    return kAnthropometricDispatch;
}

const DispatchEntry* findAnthropometricEntry(const QString& code)
{
    for (const DispatchEntry& entry : kAnthropometricDispatch) {
        if (code == entry.code)
            return &entry;
    }
    return nullptr;
}

Routine anthropometricRoutine(const QString& code)
{
    const DispatchEntry* entry = findAnthropometricEntry(code);
    return entry ? entry->routine : nullptr;
}

}  // namespace anthropometry
