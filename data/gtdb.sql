-- The settings database as the utility is delivered: pure mode, no
-- expansion packs, crosshair 1, reticle 1, Secure Mode off, no install
-- directory chosen yet. Exactly one row; the utility only ever updates it.
CREATE TABLE Options (status TEXT, rtr TEXT, sw TEXT, cr TEXT, rt TEXT, secure TEXT, path TEXT);
INSERT INTO Options (status, rtr, sw, cr, rt, secure, path)
VALUES ('Pure', 'no', 'no', '1', '1', 'No', NULL);
