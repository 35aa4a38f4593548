select a from t
GO
select b from u