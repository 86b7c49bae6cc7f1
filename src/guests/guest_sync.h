// The requests this program queues for the synchronisation service of the external
// reservation system (table E_SABRE): each is appended pending (PROCESADO 0) with who queued
// it and when; the service, another program of the suite, processes and marks them.
#pragma once

#include <cstdint>
#include <string>

namespace guests {

struct SabreRequest {
  int tipo = 0;                  // 10 synchronise, 11 delete a profile
  int subtipo = 0;               // with 10: 0 the profiles changed between two dates, 1 one profile
  std::string agencia;           // with 11: the guest's synchronisation id
  std::string idPms;             // with 10/1: the profile id in the external system
  int32_t desde = 0, hasta = 0;  // with 10/0
};

inline constexpr int kSyncRequest = 10, kDeleteProfile = 11;

void QUEUE_SABRE(const std::string& negocio, const SabreRequest& request);

}  // namespace guests
