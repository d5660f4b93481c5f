user_pref("mail.accountmanager.accounts", "account1,account2");
user_pref("mail.account.account1.server", "server1");
user_pref("mail.server.server1.type", "pop3");
user_pref("mail.server.server1.hostname", "pop.example.com");
user_pref("mail.server.server1.userName", "joe\"q");
user_pref("mail.server.server1.port", 995);
user_pref("mail.server.server1.socketType", 3);
