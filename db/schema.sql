-- The account database: tables, and the program's own least-privilege account.
-- Load it as a database administrator, e.g.  mariadb -uroot < db/schema.sql
-- Safe to run again: it only adds what is missing and never drops or rewrites a row.

CREATE DATABASE IF NOT EXISTS ceshi1 DEFAULT CHARACTER SET gbk COLLATE gbk_bin;
USE ceshi1;

-- gbk stores every GBK character byte for byte; the binary collation makes the company and
-- server filters and DISTINCT compare texts exactly as they were typed.
--
-- r_pass and r_trat hold the enciphered fields, 2 * (n + 10) hexadecimal characters for a
-- plain text of n bytes: MEDIUMTEXT covers the longest password a one-line box takes
-- (32767 characters), LONGTEXT anything the multi-line registration info and remark can
-- carry within one statement.
CREATE TABLE IF NOT EXISTS r_info (
    r_id    INT NOT NULL AUTO_INCREMENT,
    r_user  VARCHAR(64) NOT NULL DEFAULT '',
    r_type  TEXT,
    r_type1 TEXT,
    r_name  TEXT,
    r_pass  MEDIUMTEXT,
    r_trat  LONGTEXT,
    r_date  DATE,
    r_remar LONGTEXT,
    PRIMARY KEY (r_id),
    KEY r_info_user (r_user)
) ENGINE=InnoDB DEFAULT CHARACTER SET gbk COLLATE gbk_bin;

CREATE TABLE IF NOT EXISTS u_name (
    u_id   INT NOT NULL AUTO_INCREMENT,
    u_user VARCHAR(64) NOT NULL,
    u_pass CHAR(32) NOT NULL,
    u_sdic INT NOT NULL DEFAULT 0,
    PRIMARY KEY (u_id)
) ENGINE=InnoDB DEFAULT CHARACTER SET gbk COLLATE gbk_bin;

CREATE TABLE IF NOT EXISTS login_record (
    l_id   BIGINT NOT NULL AUTO_INCREMENT,
    l_user VARCHAR(64) NOT NULL,
    l_date DATETIME NOT NULL,
    PRIMARY KEY (l_id)
) ENGINE=InnoDB DEFAULT CHARACTER SET gbk COLLATE gbk_bin;

-- The program signs in over TCP to 127.0.0.1 as kobrit. It reads u_name but never writes it;
-- emptying r_info and login_record (TRUNCATE) needs DROP on those two tables.
CREATE USER IF NOT EXISTS 'kobrit'@'127.0.0.1' IDENTIFIED BY 'kobrit';
GRANT SELECT ON ceshi1.u_name TO 'kobrit'@'127.0.0.1';
GRANT SELECT, INSERT, UPDATE, DELETE, DROP ON ceshi1.r_info TO 'kobrit'@'127.0.0.1';
GRANT INSERT, DROP ON ceshi1.login_record TO 'kobrit'@'127.0.0.1';

-- The built-in administrator. u_pass is the digest of the program's built-in password
-- (accounts-digest prints the digest of any password). Added only while no admin row exists,
-- so a row an administrator has changed or disabled is left as it is.
INSERT INTO u_name (u_user, u_pass, u_sdic)
SELECT 'admin', '819d6033b3a642cf9226271456e268fe', 0 FROM DUAL
WHERE NOT EXISTS (SELECT 1 FROM u_name WHERE u_user = 'admin');
