#pragma once

#include <QList>
#include <QString>

// The record of one upload profile. The base URL is derived; keepfolders is never stored.
struct ServerProfile
{
    bool https = false;
    bool savepass = false;
    bool personal = false;
    bool idxonly = true;
    bool incbackup = true;
    bool daterename = true;
    bool keepfolders = true;
    int port = 0;
    QString profname;
    QString hostaddr;
    QString usrname;
    QString account;
    QString password;
    QString baseUrl;
    QString duphandler;
    QString serverdst;
    // Video qualities: 0 high, 1 medium, 2 low, 3 mobile.
    QList<int> qualities;

    // Recomputes baseUrl from https, hostaddr, port, personal and usrname.
    void updateBaseUrl();
};

// What the profile list returns for each stored profile.
struct ProfileSummary
{
    int port = 0;
    bool https = false;
    bool savepass = false;
    bool personal = false;
    QString profname;
    QString hostaddr;
    QString usrname;
    QString account;
    QString password;
};
