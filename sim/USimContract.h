#pragma once

#include "OrvConfig.h"

#include <array>
#include <string>
#include <string_view>

namespace Sim {

inline constexpr const char* SoapEnvNs = "http://schemas.xmlsoap.org/soap/envelope/";
inline constexpr const char* XsiNs = "http://www.w3.org/2001/XMLSchema-instance";
inline constexpr const char* ContractNs = OrvConfig::ContractNamespace;
inline constexpr const char* DataNs = OrvConfig::DataContractNamespace;
inline constexpr const char* SysDataNs = OrvConfig::SysDataContractNamespace;
// The framework's namespace of dispatcher fault codes.
inline constexpr const char* DispatcherNs =
    "http://schemas.microsoft.com/net/2005/12/windowscommunicationfoundation/dispatcher";
inline constexpr const char* AddressingNoneNs =
    "http://schemas.microsoft.com/ws/2005/05/addressing/none";

inline constexpr std::array<std::string_view, 8> Operations = {
    "PodajPodanie", "CheckLogin",          "GetPortalMaxRows",   "ListPodanie",
    "GetPodanie",   "ListSuborPisomnosti", "GetSuborPisomnosti", "ListTypObjektu"};

inline bool IsOperation(std::string_view name) {
    for (const auto op : Operations)
        if (op == name)
            return true;
    return false;
}

// contract namespace + "/IPortal/" + operation
inline std::string ActionOf(std::string_view operation) {
    return std::string(ContractNs) + "/IPortal/" + std::string(operation);
}

// The submission service the client uses for every EPH version.
inline constexpr const char* SluzbaHromadnyPodaj = "KT_HromadnyPodaj";
inline constexpr std::array<std::string_view, 3> TypyPodania = {"KT_PODAJ_v01", "KT_PODAJ_v02",
                                                                "KT_PODAJ_v03"};

} // namespace Sim
