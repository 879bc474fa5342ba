#pragma once

class QCommandLineParser;
class QNetworkAccessManager;

// The commands of pictarium-cli, a file each. The parser holds the command's own options and
// arguments (the command's name first); each returns the exit status.
namespace Cli {

int listProfiles(const QCommandLineParser& parser, QNetworkAccessManager* pNam);
int discover(const QCommandLineParser& parser, QNetworkAccessManager* pNam);
int addProfile(const QCommandLineParser& parser, QNetworkAccessManager* pNam);
int removeProfile(const QCommandLineParser& parser, QNetworkAccessManager* pNam);
int trustServer(const QCommandLineParser& parser, QNetworkAccessManager* pNam);
int listAlbums(const QCommandLineParser& parser, QNetworkAccessManager* pNam);
int upload(const QCommandLineParser& parser, QNetworkAccessManager* pNam);
int watch(const QCommandLineParser& parser, QNetworkAccessManager* pNam);

} // namespace Cli
