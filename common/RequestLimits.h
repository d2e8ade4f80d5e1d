// How long any program of ours waits for a server, in one place. A server that accepts a connection and
// then says nothing (a captive portal, a dead proxy, a firewall dropping packets) is common; without these
// the stacks wait for minutes or for ever.
#pragma once

// Nightcap's requests (version check, ping, report, time page, IP, air quality, weather): small pages a
// working server answers in well under a second. Each stage (connecting, sending, every wait for bytes)
// and the request as a whole end after this long; a request cut by it fails like one that found no server.
constexpr unsigned kNightcapRequestLimitMs = 10000;

// The updater's manifests (change log, digest list, signature): small files, each fetched whole within this.
constexpr unsigned kManifestLimitMs = 15000;
// The updater's file downloads may take long on a slow line, but not without progress: a download whose
// connection or next bytes take longer than this fails the pass like a cut one.
constexpr unsigned kDownloadStallLimitMs = 20000;
