-- Version checks as the product sends them: a POST without a body.
wrk.method = "POST"
wrk.path = "/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=2&f_id=&RequestType=1"
