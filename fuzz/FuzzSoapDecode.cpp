#include "FuzzSoapDecode.h"

#include "UClock.h"
#include "USoapReader.h"

#include "UOrvError.h"

using namespace PortalService;

namespace {

// Fixed, so that runs repeat exactly and the zone is never asked.
class TFixedClock final : public IClock {
public:
    TDateTime Now() const override { return 45352.5; }
    int UtcOffsetMinutes() const override { return 90; }
};

template <class TResponse> void Decode(QByteArrayView body) {
    try {
        ReadSoapResponse<TResponse>(body);
    } catch (const TOrvError&) {
        // Refusing bad input is the expected outcome.
    }
}

void DecodeContent(QByteArrayView body) {
    try {
        if (const auto podanie = ReadSoapResponse<GetPodanieResponse>(body)) {
            if (podanie->GetPodanieResult) {
                (void)podanie->GetPodanieResult->dataField.Xml();
            }
        }
        if (const auto subor = ReadSoapResponse<GetSuborPisomnostiResponse>(body)) {
            if (subor->GetSuborPisomnostiResult) {
                (void)subor->GetSuborPisomnostiResult->dataField.Xml();
            }
        }
    } catch (const TOrvError&) {
    }
}

} // namespace

int FuzzSoapDecode(const std::uint8_t* data, std::size_t size) {
    static const TFixedClock clock;
    const TClockOverride fixed(clock);
    const QByteArrayView body(reinterpret_cast<const char*>(data), qsizetype(size));
    Decode<PodajPodanieResponse>(body);
    Decode<CheckLoginResponse>(body);
    Decode<GetPortalMaxRowsResponse>(body);
    Decode<ListPodanieResponse>(body);
    Decode<ListSuborPisomnostiResponse>(body);
    Decode<ListTypObjektuResponse>(body);
    DecodeContent(body);
    return 0;
}
